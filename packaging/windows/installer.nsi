; Installer of reader-config for Windows (64-bit), built by
; scripts/build-windows.sh: makensis -DVERSION=... -DEXE=... -DLICENSE=... -DOUT=...
Unicode true
!include "MUI2.nsh"
!include "x64.nsh"

Name "reader-config ${VERSION}"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\reader-config"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Section "reader-config"
  SetOutPath "$INSTDIR"
  File "${EXE}"
  File "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\reader-config.lnk" "$INSTDIR\reader-config.exe"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\reader-config" "DisplayName" "reader-config"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\reader-config" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\reader-config" "UninstallString" '"$INSTDIR\uninstall.exe"'
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\reader-config.lnk"
  Delete "$INSTDIR\reader-config.exe"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\reader-config"
SectionEnd
