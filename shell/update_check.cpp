#include "shell/update_check.h"

#include "ui/program_title.h"

namespace dravik {

namespace {

int DigitValue(wchar_t c) { return (c >= L'0' && c <= L'9') ? c - L'0' : 0; }

constexpr int kShowNormal = 1;

}  // namespace

VersionNumber PublishedVersion(const std::wstring& response) {
  if (response.empty()) return {};
  return {DigitValue(response.front()), DigitValue(response.back())};
}

bool IsNewerVersion(const std::wstring& response, VersionNumber running) {
  const VersionNumber published = PublishedVersion(response);
  return published.major > running.major ||
         (published.major == running.major && published.minor > running.minor);
}

std::wstring NewVersionPrompt(const MessageTexts& messages, const std::wstring& response) {
  return messages[MessageText::NewVersion] + L"\r\n" + messages[MessageText::Version] + L" " +
         response + L"\r\n\r\n" + messages[MessageText::WDownload];
}

void UpdateCheck::start() {
  http_.start(updateAddress(), kUpdateTimeouts,
              [this](const std::wstring& response) { received(response); });
}

void UpdateCheck::received(const std::wstring& response) {
  if (IsNewerVersion(response, running_)) {
    const int answer = ui_.messageBox(NewVersionPrompt(messages_, response), kProgramTitle,
                                      platform::mb::kIconQuestion | platform::mb::kYesNo);
    if (answer == platform::mb::kAnswerYes) {
      shell_.execute(L"Open", webSite_, L"", programFolder_, kShowNormal);
    }
  } else {
    ui_.messageBox(language_.text(text_key::kNoNewerVersion), kProgramTitle,
                   platform::mb::kIconInformation | platform::mb::kOk);
  }
}

}  // namespace dravik
