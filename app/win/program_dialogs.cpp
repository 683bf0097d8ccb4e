#include "app/win/program_dialogs.h"

#include "app/settings.h"
#include "shell/win/language_dialog.h"
#include "platform/win32/win32_file_listing.h"
#include "platform/win32/win32_help.h"
#include "platform/win32/win32_http.h"
#include "shell/help.h"
#include "shell/update_check.h"
#include "shell/win/about_box.h"
#include "shell/win/run_file_dialog.h"

namespace dravik {

struct ProgramDialogs::Parts {
  Parts(HINSTANCE instance, StartupPlatform& platform, const MainWindow& main)
      : settings(platform.registry),
        programFolder(platform.system.programFolder()),
        about(instance, main.language(), platform.shell, programFolder),
        languageDialog(instance, {platform.profiles, files, platform.shell, platform.ui,
                                   [this] { return settings.read(kSettingLanguage); },
                                   [this](const std::wstring& name) { settings.write(kSettingLanguage, name); }},
                       programFolder, main.language()),
        update(http, platform.ui, platform.shell, main.language(), main.messages(), programFolder),
        runIcon(static_cast<HICON>(::LoadImageW(instance, L"IMG_RUN", IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXICON),
                                                ::GetSystemMetrics(SM_CYICON), LR_SHARED))) {}

  Settings settings;
  std::wstring programFolder;
  platform::win32::Win32FileListing files;
  platform::win32::Win32HttpGet http;  // made on the window's thread: it answers there
  platform::win32::Win32HelpFiles help;
  AboutBox about;
  LanguageDialog languageDialog;
  UpdateCheck update;
  HICON runIcon;  // shared resource: never destroyed
  std::uintptr_t helpWindow = 0;
};

ProgramDialogs::ProgramDialogs(HINSTANCE instance, StartupPlatform& platform,
                               std::function<MainWindow*()> mainWindow)
    : instance_(instance), platform_(platform), mainWindow_(std::move(mainWindow)) {}

ProgramDialogs::~ProgramDialogs() = default;

// The main window calls the first hook while it loads, when its language is
// set; the dialogs are made then and live until the program ends.
ProgramDialogs::Parts& ProgramDialogs::parts() {
  if (!parts_) parts_ = std::make_unique<Parts>(instance_, platform_, *mainWindow_());
  return *parts_;
}

DialogHooks ProgramDialogs::hooks() {
  DialogHooks hooks;
  hooks.showRunDialog = [this](HWND owner, const std::wstring& prompt) {
    ShowRunDialog(owner, -1, -1, parts().runIcon, L"Run", prompt);
  };
  hooks.showAbout = [this] { parts().about.show(); };
  hooks.showHelpFile = [this](HWND owner) {
    Parts& p = parts();
    p.helpWindow = ShowHelpFile(p.help, platform_.ui, mainWindow_()->language(),
                                reinterpret_cast<std::uintptr_t>(owner),
                                HelpFilePath(p.programFolder));
  };
  hooks.checkForUpdates = [this](HWND) { parts().update.start(); };
  hooks.showLanguageDialog = [this] { parts().languageDialog.open(); };
  hooks.labelAbout = [this] { parts().about.languageAbout(); };
  hooks.labelLanguageDialog = [this] { parts().languageDialog.languageSysTrayAndLanguage(); };
  hooks.translateKeyboard = [this](MSG& message) {
    if (!parts_) return false;
    return parts_->about.translateKeyboard(message) ||
           parts_->languageDialog.translateKeyboard(message);
  };
  return hooks;
}

}  // namespace dravik
