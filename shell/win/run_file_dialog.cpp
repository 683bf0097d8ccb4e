#include "shell/win/run_file_dialog.h"

#include <oleauto.h>

#include <memory>
#include <type_traits>

#include "platform/win32/handles.h"
#include "platform/win32/exception_boundary.h"
#include "platform/win32/system_library.h"

namespace dravik {

namespace {

// The timer procedure has no context of its own: the request lives here,
// from the call that opens the dialog to the tick that finds it.
RunDialogRequest g_runDialog;

constexpr int kRunFileDialogExport = 61;
constexpr UINT kCalculateDirectory = 4;  // RFF_CALCDIRECTORY
constexpr UINT kSetImage = 0x172;        // STM_SETIMAGE

using RunFileDlgFunction =
    std::remove_pointer_t<void(WINAPI*)(HWND, HICON, LPCWSTR, LPCWSTR, LPCWSTR, UINT)>;

struct RunFileDialogCall {
  HWND owner;
  HICON icon;
  std::wstring title, prompt, folder;
};

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

DWORD RunFileDialogOnThread(LPVOID parameter) {
  std::unique_ptr<RunFileDialogCall> call(static_cast<RunFileDialogCall*>(parameter));
  // Held for the dialog's life, which this thread spends inside it.
  const platform::win32::SystemLibrary shell32(L"shell32.dll");
  const auto runFileDlg = shell32.find<RunFileDlgFunction>(MAKEINTRESOURCEA(kRunFileDialogExport));
  if (!runFileDlg) return 1;
  runFileDlg(call->owner, call->icon, OrNull(call->folder), OrNull(call->title), OrNull(call->prompt),
             kCalculateDirectory);
  return 0;
}

DWORD WINAPI RunFileDialogThread(LPVOID parameter) {
  return platform::win32::Guarded(L"RunFileDialog", DWORD{1}, [parameter] { return RunFileDialogOnThread(parameter); });
}

// Opens the shell's own Run dialog through "Shell.Application"; false when
// the object or its FileRun is not there (Wine answers FileRun with E_NOTIMPL).
bool FileRunThroughShell() {
  platform::win32::ComApartment apartment;
  CLSID shellClass{};
  if (FAILED(::CLSIDFromProgID(L"Shell.Application", &shellClass))) return false;
  platform::win32::ComPtr<IDispatch> shell;
  if (FAILED(::CoCreateInstance(shellClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(shell.put())))) {
    return false;
  }
  wchar_t method[] = L"FileRun";
  LPOLESTR names[] = {method};
  DISPID id = 0;
  if (FAILED(shell->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return SUCCEEDED(shell->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                                 nullptr, nullptr));
}

PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void RestyleRunDialog() {
  const HWND dialog = ::FindWindowW(nullptr, kShellRunDialogTitle);
  if (!dialog) {
    if (RunDialogMissed(g_runDialog)) {
      ::KillTimer(nullptr, g_runDialog.timerId);
      g_runDialog.timerId = 0;
    }
    return;
  }
  ::KillTimer(nullptr, g_runDialog.timerId);
  g_runDialog.timerId = 0;
  g_runDialog.retries = 0;
  ::ShowWindow(dialog, SW_HIDE);

  if (!g_runDialog.title.empty()) {
    ::SendMessageW(dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(g_runDialog.title.c_str()));
  }
  // The dialog's first child is its icon, the next one its prompt line.
  const HWND iconControl = ::GetWindow(dialog, GW_CHILD);
  if (iconControl && g_runDialog.icon != 0) {
    ::SendMessageW(iconControl, kSetImage, IMAGE_ICON, static_cast<LPARAM>(g_runDialog.icon));
  }
  const HWND promptControl = iconControl ? ::GetWindow(iconControl, GW_HWNDNEXT) : nullptr;
  if (promptControl && !g_runDialog.prompt.empty()) {
    ::SendMessageW(promptControl, WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(g_runDialog.prompt.c_str()));
  }

  RECT dialogRect{};
  ::GetWindowRect(dialog, &dialogRect);
  std::optional<PixelRect> ownerRect;
  RECT owner{};
  if (g_runDialog.owner != 0 &&
      ::GetWindowRect(reinterpret_cast<HWND>(g_runDialog.owner), &owner)) {
    ownerRect = ToPixelRect(owner);
  }
  if (const auto placed = RunDialogPlacement(g_runDialog, ToPixelRect(dialogRect), ownerRect)) {
    ::MoveWindow(dialog, placed->left, placed->top, placed->width(), placed->height(), TRUE);
  }
  ::ShowWindow(dialog, SW_SHOWNORMAL);
  ::SetForegroundWindow(dialog);
}

void CALLBACK RunDialogTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  platform::win32::Guarded(L"RunDialogTimer", 0, [] {
    RestyleRunDialog();
    return 0;
  });
}

}  // namespace

const RunDialogRequest& StoredRunDialogRequest() { return g_runDialog; }

void StartRunDialogSearch(const RunDialogRequest& request) {
  if (g_runDialog.timerId != 0) ::KillTimer(nullptr, g_runDialog.timerId);
  g_runDialog = request;
  g_runDialog.retries = 0;
  g_runDialog.timerId = ::SetTimer(nullptr, 0, kRunDialogTimerMs, RunDialogTimerProc);
}

void RunFileDialog(HWND owner, HICON icon, const std::wstring& title, const std::wstring& prompt,
                   const std::wstring& folder) {
  auto call =
      std::make_unique<RunFileDialogCall>(RunFileDialogCall{owner, icon, title, prompt, folder});
  const HANDLE thread = ::CreateThread(nullptr, 0, RunFileDialogThread, call.get(), 0, nullptr);
  if (!thread) return;
  call.release();  // the thread owns it now
  ::CloseHandle(thread);
}

void ShowRunDialog(HWND owner, int x, int y, HICON icon, const std::wstring& title,
                   const std::wstring& prompt) {
  RunDialogRequest request;
  request.owner = reinterpret_cast<std::uintptr_t>(owner);
  request.x = x;
  request.y = y;
  request.icon = reinterpret_cast<std::uintptr_t>(icon);
  request.title = title;
  request.prompt = prompt;
  if (FileRunThroughShell()) {
    StartRunDialogSearch(request);
  } else {
    g_runDialog = request;
    RunFileDialog(owner, icon, title, prompt, L"");
  }
}

}  // namespace dravik
