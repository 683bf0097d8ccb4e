#pragma once
// Doubles for the start-up's view of the system, each recording what it was asked.
#include <vector>

#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/window_manager.h"

namespace fakes {

class FakeSystemInfo final : public platform::SystemInfo {
 public:
  std::optional<platform::OsVersion> version() override { return os; }
  platform::SystemDirectoryResult systemDirectory(std::uint32_t bufferChars) override {
    // Like the real call: the length copied, or the size needed when it does not fit.
    const bool fits = systemFolder.size() < bufferChars;
    std::wstring buffer = fits ? systemFolder : std::wstring();
    buffer.resize(bufferChars);
    return {static_cast<std::uint32_t>(systemFolder.size() + (fits ? 0 : 1)), buffer};
  }
  std::wstring programFolder() override { return folder; }

  std::optional<platform::OsVersion> os = platform::OsVersion{2, 6, 1, 7601};
  std::wstring systemFolder = L"C:\\windows\\system32";
  std::wstring folder = L"C:\\Program Files\\Dravik Task Manager";
};

class FakeShell final : public platform::Shell {
 public:
  struct Call {
    std::wstring verb, file, folder;
    int show;
  };
  std::intptr_t execute(const std::wstring& verb, const std::wstring& file,
                        const std::wstring&, const std::wstring& folder, int showCommand) override {
    calls.push_back({verb, file, folder, showCommand});
    return 42;  // above 32: success
  }
  std::vector<Call> calls;
};

class FakeUserInterface final : public platform::UserInterface {
 public:
  struct Box {
    std::wstring text, title;
    unsigned flags;
  };
  int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) override {
    boxes.push_back({text, title, flags});
    if (answers.empty()) return platform::mb::kAnswerOk;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  void pumpMessages() override {}
  std::vector<Box> boxes;
  std::vector<int> answers;  // given in turn; OK when none is left
};

class FakeInstanceLock final : public platform::InstanceLock {
 public:
  bool anotherInstanceRuns() override { return false; }
};

class FakeControlLibrary final : public platform::ControlLibrary {
 public:
  void initExtendedClasses() override {}
  bool availableInSystem(const std::wstring&) override { return inSystem; }
  bool inSystem = true;
};

}  // namespace fakes
