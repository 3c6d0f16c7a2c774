; The Windows setup program: installs velnorka.exe for the current user
; alone, without administrator rights, into %LOCALAPPDATA%\Programs\Velnorka,
; with a Start menu shortcut and an entry in "Aplikace a funkce".
; Built by scripts/make-windows-setup, which passes:
;   VERSION  the release (project(VERSION)), e.g. 1.0.0
;   FILES    the folder holding the stripped velnorka.exe, ČTIMNE.txt and
;            LICENSE.txt exactly as the zip holds them
;   ICON     the program's icon
;   OUTFILE  the setup program to write
; Silent: setup.exe /S [/D=folder]; the uninstaller: odinstalovat.exe /S.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Velnorka"
!define PUBLISHER "Velnorka"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velnorka"
!define UNINSTALLER "odinstalovat.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velnorka"
; A second run updates the copy where it is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\velnorka.exe"

!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_CZECH} "FileDescription" "Instalace programu Velnorka ${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "LegalCopyright" "Copyright © Velnorka developers, licence MIT"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Velnorka" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${FILES}\velnorka.exe"
  File "${FILES}\ČTIMNE.txt"
  File "${FILES}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\Velnorka.lnk" "$INSTDIR\velnorka.exe" "" "$INSTDIR\velnorka.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velnorka.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Zástupce na ploše" SectionDesktop
  CreateShortcut "$DESKTOP\Velnorka.lnk" "$INSTDIR\velnorka.exe" "" "$INSTDIR\velnorka.exe" 0
  ; Only a shortcut made here is removed by the uninstaller.
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "DesktopShortcut" 1
SectionEnd

; Removes exactly what the setup created: a file the user put into the
; folder stays, and so does the folder then.
Section "Uninstall"
  ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
  ${If} $0 == 1
    Delete "$DESKTOP\Velnorka.lnk"
  ${EndIf}
  Delete "$SMPROGRAMS\Velnorka.lnk"
  Delete "$INSTDIR\velnorka.exe"
  Delete "$INSTDIR\ČTIMNE.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
