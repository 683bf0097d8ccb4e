#include "app/startup.h"

#include "app/settings.h"
#include "localization/read_ini.h"

namespace dravik {

namespace {
constexpr std::uint32_t kSysDirBufferChars = 255;
constexpr wchar_t kLibraryFile[] = L"\\comctl32.ocx";
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

bool FileExists(platform::FileSystem& files, const std::wstring& path) {
  return !path.empty() && files.findNormalFile(path);
}

void ShellOpenFile(StartupPlatform& platform, const std::wstring& file,
                   const std::wstring& parameters) {
  if (file.empty()) return;
  const auto result = platform.shell.execute(L"open", file, parameters,
                                             platform.system.programFolder(), 1);
  if (result >= 0 && result <= 32) {
    platform.ui.messageBox(L"Error jumping to:" + file, L"Warning", platform::mb::kExclamationOk);
  }
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
    platform.ui.messageBox(ReadINI(platform.profiles, "Splash", "5", start.languageFile), L"",
                           platform::mb::kStopOk);
    start.outcome = StartupOutcome::UnsupportedSystem;
    return start;
  }

  const std::wstring systemFolder = GetSysDir(platform.system);
  if (!platform.controls.availableInSystem(systemFolder)) {
    if (platform.controls.availableBesideProgram(programFolder)) {
      platform.files.copyFile(programFolder + kLibraryFile, systemFolder + kLibraryFile);
      platform.ui.pumpMessages();
      ShellOpenFile(platform, L"REGSVR32.EXE", systemFolder + kLibraryFile + L" /s");
      platform.ui.pumpMessages();
      platform.ui.messageBox(L"Configuration completed.\r\nPlease run the software again.",
                             kProgramTitle, platform::mb::kExclamationOk);
      start.outcome = StartupOutcome::LibraryInstalled;
      return start;
    }
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
