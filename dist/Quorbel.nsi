; Quorbel's installer.  The build passes VERSION (the file version of
; res/version.h), FILES (the folder of the files to ship) and OUTFILE.
;
; The program goes to Program Files for every user (hence admin level and
; the uninstall entry under HKLM).  Quorbel writes its settings, results and
; logs in its working directory, so the shortcuts start it in the installing
; user's data folder, which installing again and uninstalling leave alone
; unless the user asks for it on the uninstaller's components page.
Unicode true
Target amd64-unicode
RequestExecutionLevel admin

!define DATADIR "$LOCALAPPDATA\Quorbel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorbel"

Name "Quorbel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quorbel"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!define MUI_ICON "${__FILEDIR__}/../res/icons/app.ico"
!define MUI_UNICON "${__FILEDIR__}/../res/icons/app.ico"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Quorbel"
VIAddVersionKey "FileDescription" "Quorbel setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Vorl"

; A shortcut's working directory is the output path when it is created.
!macro QuorbelShortcut LINK
  SetOutPath "${DATADIR}"
  CreateShortCut "${LINK}" "$INSTDIR\Quorbel.exe"
!macroend

Section "Quorbel (program and Start menu)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${FILES}/Quorbel.exe"
  File "${FILES}/QuorbelFr.dll"
  File "${FILES}/QuorbelIT.dll"
  File "${FILES}/vorlsim.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Quorbel"
  !insertmacro QuorbelShortcut "$SMPROGRAMS\Quorbel\Quorbel.lnk"
  CreateShortCut "$SMPROGRAMS\Quorbel\Quorbel data folder.lnk" "${DATADIR}"
  CreateShortCut "$SMPROGRAMS\Quorbel\Uninstall Quorbel.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quorbel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vorl"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorbel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Desktop shortcut" SecDesktop
  !insertmacro QuorbelShortcut "$DESKTOP\Quorbel.lnk"
SectionEnd

Section /o "Start with Windows" SecStartup
  !insertmacro QuorbelShortcut "$SMSTARTUP\Quorbel.lnk"
SectionEnd

Section "un.Quorbel (program and shortcuts)"
  SectionIn RO
  Delete "$INSTDIR\Quorbel.exe"
  Delete "$INSTDIR\QuorbelFr.dll"
  Delete "$INSTDIR\QuorbelIT.dll"
  Delete "$INSTDIR\vorlsim.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Quorbel\Quorbel.lnk"
  Delete "$SMPROGRAMS\Quorbel\Quorbel data folder.lnk"
  Delete "$SMPROGRAMS\Quorbel\Uninstall Quorbel.lnk"
  RMDir "$SMPROGRAMS\Quorbel"
  Delete "$DESKTOP\Quorbel.lnk"
  Delete "$SMSTARTUP\Quorbel.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Off unless ticked, so a silent uninstall keeps the settings and results.
Section /o "un.Settings, results and logs"
  RMDir /r "${DATADIR}"
  DeleteRegKey HKCU "Software\Vorl\Quorbel"
  DeleteRegKey /ifempty HKCU "Software\Vorl"
SectionEnd
