#pragma once
// Asking the maker's web server whether a newer version has been published.
#include <string>

#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/shell.h"
#include "platform/window_manager.h"

namespace dravik {

// The file on the web server that holds the newest version, as "2.2".
inline constexpr wchar_t kUpdateFilePath[] = L"/draviktm_free.txt";

// The web site of the program, chosen when the program is built; its default
// is a reserved name that never resolves, so the check stays silent until a
// real server is configured.
#ifndef DRAVIK_WEB_SITE
#define DRAVIK_WEB_SITE L"http://www.draviktm.example"
#endif
inline constexpr wchar_t kWebSite[] = DRAVIK_WEB_SITE;

struct VersionNumber {
  int major = 0;
  int minor = 0;
};

// The version of this program.
inline constexpr VersionNumber kRunningVersion{DRAVIK_VERSION_MAJOR, DRAVIK_VERSION_MINOR};

// The published version: the digit of the first character and the digit of
// the last one; anything that is not a digit counts as 0. The file is meant to
// hold "major.minor" with nothing after it, so a trailing line break or an
// error page reads as a zero minor or major.
VersionNumber PublishedVersion(const std::wstring& response);

bool IsNewerVersion(const std::wstring& response, VersionNumber running = kRunningVersion);

// "New version available!", line break, "Version:", blank, the server's text
// as received, an empty line, "Would you like to download it...?"
std::wstring NewVersionPrompt(const MessageTexts& messages, const std::wstring& response);

inline constexpr platform::HttpTimeouts kUpdateTimeouts{1000, 1000, 1000, 1000};

// One check per web client: the check owns the client's request while it runs.
class UpdateCheck {
 public:
  UpdateCheck(platform::HttpGet& http, platform::UserInterface& ui, platform::Shell& shell,
              const Language& language, const MessageTexts& messages, std::wstring programFolder,
              std::wstring webSite = kWebSite, VersionNumber running = kRunningVersion)
      : http_(http),
        ui_(ui),
        shell_(shell),
        language_(language),
        messages_(messages),
        programFolder_(std::move(programFolder)),
        webSite_(std::move(webSite)),
        running_(running) {}
  // The web client would otherwise answer into a check that no longer exists.
  ~UpdateCheck() { http_.cancel(); }
  UpdateCheck(const UpdateCheck&) = delete;
  UpdateCheck& operator=(const UpdateCheck&) = delete;

  // Check for updates...: sends the request and returns without waiting. A
  // check still under way is replaced by this one.
  void start();
  // The server's answer: tells the user whether a newer version exists and
  // opens the web site when asked to.
  void received(const std::wstring& response);

  std::wstring updateAddress() const { return webSite_ + kUpdateFilePath; }
  const std::wstring& webSite() const { return webSite_; }

 private:
  platform::HttpGet& http_;
  platform::UserInterface& ui_;
  platform::Shell& shell_;
  const Language& language_;
  const MessageTexts& messages_;
  std::wstring programFolder_;
  std::wstring webSite_;
  VersionNumber running_;
};

}  // namespace dravik
