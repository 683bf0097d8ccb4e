; The installer of Dravik Task Manager. tools/release builds it with makensis:
;   makensis -DVERSION=2.1 -DFILE_VERSION=2.1.0.0 -DSTUB=x86 -DLISTS=<folder>
;            -DLICENSE=<LICENSE.txt> -DICON=<program.ico> -DOUT_FILE=<setup.exe> draviktm.nsi
; LISTS holds installed_files_<arch>.nsh for each program carried (written from
; its staged program folder) and removed_files.nsh, so the uninstaller removes
; exactly what the installer put there, whichever program that was.
; STUB=x86 is the shipping installer: it runs on every Windows and carries both
; programs, installing the 64-bit one on 64-bit Windows and the 32-bit one
; elsewhere. STUB=amd64 carries only the 64-bit program and runs only on 64-bit
; Windows (the install test uses it: Wine here runs no 32-bit program); its
; choice of program, folder and registry view is the shipping one's on 64-bit Windows.

!ifndef VERSION | FILE_VERSION | STUB | LISTS | LICENSE | ICON | OUT_FILE
  !error "VERSION, FILE_VERSION, STUB, LISTS, LICENSE, ICON and OUT_FILE must be defined"
!endif

Unicode true
!if ${STUB} == amd64
  Target amd64-unicode
  ; ${RunningX64} is true when this stub is built, so LogicLib leaves the
  ; labels of its other branches unused.
  !pragma warning disable 6012
!else if ${STUB} == x86
  Target x86-unicode
!else
  !error "STUB is x86 or amd64"
!endif

!define PRODUCT "Dravik Task Manager"
!define PUBLISHER "Dravik"
!define MAIN_CLASS "DravikTaskManagerMain"
!define SETTINGS_KEY "SOFTWARE\Dravik Task Manager"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dravik Task Manager"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
; The 32-bit folder; .onInit moves it for the 64-bit program.
InstallDir "$PROGRAMFILES\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Freeware"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include x64.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\draviktm.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "The program's settings (language, window, columns) are kept for a later install unless you tick the box below. Click Uninstall to start."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "Remove:"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Program Files, the all-users Start menu and HKLM need an administrator;
; the manifest asks for one, this refuses politely where the request was ignored.
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP|MB_OK "Administrator rights are needed to change ${PRODUCT} in Program Files." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

; A running copy holds draviktm.exe open, so it could be neither replaced nor removed.
!macro WaitUntilProgramClosed
  ${Do}
    FindWindow $0 "${MAIN_CLASS}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL "${PRODUCT} is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY +3
    SetErrorLevel 32 ; ERROR_SHARING_VIOLATION: a silent run must not end in success
    Abort
  ${Loop}
!macroend

; Both programs keep their settings in the 64-bit registry view on 64-bit
; Windows (the 32-bit one asks for it), and the 64-bit program is the one
; installed there: the settings key and the uninstall entry live in that view.
; On 32-bit Windows there is only one view.
!macro UseTheProgramsRegistryView
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RequireAdministrator
  SetShellVarContext all
  !insertmacro UseTheProgramsRegistryView
  ; Unless /D= chose a folder: where an earlier install went, else Program
  ; Files of the program's own kind.
  ${If} $INSTDIR == "$PROGRAMFILES\${PRODUCT}"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
      StrCpy $INSTDIR $0
    ${ElseIf} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  !insertmacro WaitUntilProgramClosed
  !if ${STUB} == x86
    ${If} ${RunningX64}
      !include "${LISTS}\installed_files_amd64.nsh"
    ${Else}
      !include "${LISTS}\installed_files_x86.nsh"
    ${EndIf}
  !else
    !include "${LISTS}\installed_files_amd64.nsh"
  !endif
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "$INSTDIR"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\draviktm.exe" "" "$INSTDIR\draviktm.exe" 0 \
    SW_SHOWNORMAL "" "Lists and ends tasks, processes, services and connections"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\draviktm.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.${PRODUCT}" SecUnProgram
  SectionIn RO
  !insertmacro WaitUntilProgramClosed
  !include "${LISTS}\removed_files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: anything the user put there stays, and so does its folder.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Off unless ticked: the settings survive an uninstall followed by a new install.
Section /o "un.The program's settings" SecUnSettings
  DeleteRegKey HKLM "${SETTINGS_KEY}"
SectionEnd

; "/REMOVESETTINGS" ticks the settings box, for silent uninstalls.
Function un.onInit
  !insertmacro RequireAdministrator
  SetShellVarContext all
  !insertmacro UseTheProgramsRegistryView
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUnSettings}
  ${EndIf}
FunctionEnd
