#pragma once
// DLLs of the system folder loaded at run time, and the narrowing of the DLL
// search that the program does before anything else.
//
// The program asks for administrator rights, so any DLL it loads runs with
// them. Windows looks for a DLL named without a path in the program's folder
// first, and the portable program is unpacked wherever the user likes (often
// Downloads, next to whatever the browser saved there). So the program imports
// directly only Known DLLs (those the KnownDLLs registry key lists on XP and
// later, and the DLLs they load), which Windows always maps from the system
// folder whatever lies beside the program:
//   kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 msvcrt
// and comctl32, which the manifest's side-by-side dependency binds to the
// common-controls 6 assembly in WinSxS before any folder is searched.
// comdlg32 and shlwapi are Known DLLs too and may be imported should the
// program need them. Every other system DLL (pdh, winhttp, iphlpapi, psapi,
// vdmdbg, hhctrl.ocx, and version, which is no Known DLL from Windows 7 on)
// is loaded through SystemLibrary, by its full path in the system folder,
// when first needed.
#include <windows.h>

namespace platform::win32 {

// Takes the program's folder and the current folder out of the DLL search
// for the rest of the process: only the system folder is searched where the
// system can be told so (Windows 8, and Vista or 7 with the update that added
// SetDefaultDllDirectories), and the current folder is dropped everywhere
// (XP SP1 and later). Called first, before any window, COM or shell call.
void RestrictDllSearch();

// One DLL of the system folder, loaded by its full path and freed with its
// owner. A DLL that is missing or fails to load leaves an empty owner whose
// functions are all null, so callers give their ordinary failure value.
class SystemLibrary {
 public:
  // `fileName` is a bare name with its extension, such as L"pdh.dll".
  explicit SystemLibrary(const wchar_t* fileName);
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;
  SystemLibrary(SystemLibrary&& other) noexcept;
  SystemLibrary& operator=(SystemLibrary&& other) noexcept;

  explicit operator bool() const { return module_ != nullptr; }
  HMODULE get() const { return module_; }

  // The export `name` (or MAKEINTRESOURCEA(ordinal)) as a pointer to the
  // function type the SDK declares, e.g. find<decltype(::PdhOpenQueryW)>;
  // null when the library or the export is missing.
  template <typename Function>
  Function* find(const char* name) const {
    return reinterpret_cast<Function*>(address(name));
  }

 private:
  void* address(const char* name) const;

  HMODULE module_ = nullptr;
};

}  // namespace platform::win32
