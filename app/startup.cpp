#include "app/startup.h"

#include "app/settings.h"
#include "localization/read_ini.h"

namespace dravik {

namespace {
constexpr std::uint32_t kSysDirBufferChars = 255;
}  // namespace

OsSupport GetOS(platform::SystemInfo& system) {
  const auto version = system.version();
  if (!version) return OsSupport::QueryFailed;
  const bool nt = version->platformId == 2;
  if (nt && ((version->major == 5 && version->minor >= 1) || version->major == 6)) {
    return OsSupport::Supported;
  }
  return OsSupport::Unsupported;
}

std::wstring GetSysDir(platform::SystemInfo& system) {
  const auto result = system.systemDirectory(kSysDirBufferChars);
  if (result.length >= kSysDirBufferChars) return {};
  std::wstring folder = result.buffer.substr(0, result.length);
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

StartupResult Main(StartupPlatform& platform, const std::function<void()>& openWindows,
                   const std::function<void(bool visible)>& setMainWindowVisible) {
  StartupResult start;
  if (platform.instance.anotherInstanceRuns()) {
    platform.ui.messageBox(L"Application is already running!", kProgramTitle,
                           platform::mb::kStopOk);
    start.outcome = StartupOutcome::AlreadyRunning;
    return start;
  }
  platform.controls.initExtendedClasses();

  // The start-up form's load.
  const Settings settings(platform.registry);
  const std::wstring programFolder = platform.system.programFolder();
  start.languageFile = LanguageFilePath(programFolder, settings.languageName());

  if (GetOS(platform.system) != OsSupport::Supported) {
    platform.ui.messageBox(ReadINI(platform.profiles, text_key::kUnsupportedSystem.section, text_key::kUnsupportedSystem.key, start.languageFile), L"",
                           platform::mb::kStopOk);
    start.outcome = StartupOutcome::UnsupportedSystem;
    return start;
  }

  // The control classes come with the system's common controls: no copy
  // beside the program can stand in for them.
  if (!platform.controls.availableInSystem(GetSysDir(platform.system))) {
    platform.ui.messageBox(L"File: COMCTL32.OCX is missing!", kProgramTitle,
                           platform::mb::kStopOk);
    start.outcome = StartupOutcome::LibraryMissing;
    return start;
  }

  platform.ui.pumpMessages();
  start.runMinimized = settings.runMinimized();
  openWindows();
  setMainWindowVisible(!start.runMinimized);
  return start;
}

}  // namespace dravik
