; The Windows setup program: installs velnorka.exe for the current user
; alone, without administrator rights, into %LOCALAPPDATA%\Programs\Velnorka,
; with a Start menu shortcut and an entry in "Aplikace a funkce".
; Built by scripts/make-windows-setup, which passes:
;   VERSION  the release (project(VERSION)), e.g. 1.0.0
;   FILES    the folder holding the stripped velnorka.exe, ČTIMNE.txt and
;            LICENSE.txt exactly as the zip holds them
;   ICON     the program's icon
;   OUTFILE  the setup program to write
; Silent: setup.exe /S [/D=folder]; the uninstaller:
;   odinstalovat.exe /S _?=folder
; Both end with exit code 2, having changed nothing, when Velnorka from
; that folder runs or a file cannot be written.

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
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
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

; The folder of this user's installed copy, from the uninstall entry.
Var InstalledFolder
; The outermost folder of $INSTDIR that the setup created, or "" when
; $INSTDIR was there before: the uninstaller removes the folders from
; $INSTDIR up to it, each only when empty.
Var CreatedFolder
Var Refusal
; 1 when $INSTDIR holds this user's copy already.
Var Updating
; This user's copy in another folder than $INSTDIR, which moves, or "".
Var MovedFrom

Function .onInit
  SetShellVarContext current
  ReadRegStr $InstalledFolder HKCU "${UNINSTALL_KEY}" "InstallLocation"
FunctionEnd

; Velnorka runs from FOLDER while its exe cannot be opened for writing
; (Windows and Wine keep a running program's file so). Asks to close it;
; RESULT is "" when it is closed, "running" when the user gave up (and
; always under /S).
!macro WaitUntilClosed PREFIX
Function ${PREFIX}WaitUntilClosed
  Exch $0
  Push $1
  ${Do}
    ${IfNot} ${FileExists} "$0\velnorka.exe"
      ${Break}
    ${EndIf}
    ClearErrors
    FileOpen $1 "$0\velnorka.exe" a
    ${IfNot} ${Errors}
      FileClose $1
      ${Break}
    ${EndIf}
    ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Velnorka ze složky „$0“ je spuštěná.$\r$\n$\r$\nZavřete ji a klikněte na Opakovat." /SD IDCANCEL IDCANCEL`
      StrCpy $0 "running"
      Goto done
    ${EndIf}
  ${Loop}
  StrCpy $0 ""
  done:
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro WaitUntilClosed ""
!insertmacro WaitUntilClosed "un."

; Sets $Refusal to why the setup must not install into $INSTDIR, or "".
; Only the user's own copy or a new or empty folder will do: a file that
; was there before is neither overwritten nor later deleted, and a folder
; that another profile installed into is not shared.
Function CheckFolder
  StrCpy $Refusal ""
  ${If} $INSTDIR == $InstalledFolder
    Return
  ${EndIf}
  ${DirState} "$INSTDIR" $0
  ${If} $0 == 1
  ${AndIf} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    StrCpy $Refusal "Ve složce „$INSTDIR“ je Velnorka nainstalovaná pro jiného uživatele.$\r$\n$\r$\nKaždý uživatel si Velnorku instaluje do své vlastní složky (výchozí volba); jednu společnou kopii pro všechny nabízí soubor ZIP. Zvolte jinou složku."
  ${ElseIf} $0 == 1
    StrCpy $Refusal "Složka „$INSTDIR“ už obsahuje jiné soubory.$\r$\n$\r$\nVelnorka se instaluje jen do nové nebo prázdné složky, aby nepřepsala ani později nesmazala cizí soubory. Zvolte jinou složku."
  ${ElseIf} ${FileExists} "$INSTDIR"
  ${AndIfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $Refusal "„$INSTDIR“ je soubor, ne složka. Zvolte jinou složku."
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Call CheckFolder
  ${If} $Refusal != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$Refusal"
    Abort
  ${EndIf}
FunctionEnd

; Ends the setup as failed (exit code 2), with MESSAGE unless silent.
!macro Fail MESSAGE
  MessageBox MB_OK|MB_ICONSTOP "${MESSAGE}" /SD IDOK
  SetErrorLevel 2
  Abort
!macroend

; Removes the folders from FOLDER up to OUTERMOST ("" for none), each only
; when empty.
!macro RemoveCreatedFolders PREFIX
Function ${PREFIX}RemoveCreatedFolders
  Exch $1 ; outermost
  Exch
  Exch $0 ; folder
  ${If} $1 != ""
    ${Do}
      RMDir "$0"
      ${If} $0 == $1
      ${OrIf} ${FileExists} "$0\*.*"
        ${Break}
      ${EndIf}
      ${GetParent} "$0" $0
    ${LoopUntil} $0 == ""
  ${EndIf}
  Pop $0
  Pop $1
FunctionEnd
!macroend
!insertmacro RemoveCreatedFolders ""
!insertmacro RemoveCreatedFolders "un."

!macro RemoveProgramFiles FOLDER
  Delete "${FOLDER}\velnorka.exe"
  Delete "${FOLDER}\ČTIMNE.txt"
  Delete "${FOLDER}\LICENSE.txt"
  Delete "${FOLDER}\${UNINSTALLER}"
!macroend

; Adds the size of FILE in bytes to $0.
!macro AddFileSize FILE
  FileOpen $1 "${FILE}" r
  FileSeek $1 0 END $2
  FileClose $1
  IntOp $0 $0 + $2
!macroend

; Files first, then the shortcut and the entry: nothing points at a file
; that is not there. A failed first install leaves nothing behind; a failed
; update leaves the old copy and its entry.
Section "Velnorka" SectionProgram
  SectionIn RO
  Call CheckFolder
  ${If} $Refusal != ""
    !insertmacro Fail "$Refusal"
  ${EndIf}
  StrCpy $Updating 0
  ${If} $INSTDIR == $InstalledFolder
  ${AndIf} ${FileExists} "$INSTDIR\*.*"
    StrCpy $Updating 1
  ${EndIf}
  ; Another folder chosen: the old copy moves, and its files go once the
  ; new ones are in place.
  StrCpy $MovedFrom ""
  ${If} $InstalledFolder != $INSTDIR
  ${AndIf} $InstalledFolder != ""
  ${AndIf} ${FileExists} "$InstalledFolder\velnorka.exe"
    StrCpy $MovedFrom $InstalledFolder
  ${EndIf}
  Push $INSTDIR
  Call WaitUntilClosed
  Pop $0
  ${If} $0 == ""
  ${AndIf} $MovedFrom != ""
    Push $MovedFrom
    Call WaitUntilClosed
    Pop $0
  ${EndIf}
  ${If} $0 == "running"
    ; The user has just cancelled: the page says why it stopped.
    SetErrorLevel 2
    Abort "Velnorka je spuštěná, a tak nebyla nainstalována."
  ${EndIf}

  ${If} $Updating == 1
    ClearErrors
    ReadRegStr $CreatedFolder HKCU "${UNINSTALL_KEY}" "CreatedFolder"
    ; An entry written by an earlier setup has none: its uninstaller
    ; removed the emptied folder, and so does this one.
    ${If} ${Errors}
      StrCpy $CreatedFolder $INSTDIR
    ${EndIf}
  ${Else}
    StrCpy $CreatedFolder ""
    StrCpy $0 $INSTDIR
    ${DoWhile} $0 != ""
      ${If} ${FileExists} "$0\*.*"
        ${Break}
      ${EndIf}
      StrCpy $CreatedFolder $0
      ${GetParent} "$0" $0
    ${Loop}
  ${EndIf}

  SetOverwrite try
  ClearErrors
  CreateDirectory "$INSTDIR"
  SetOutPath "$INSTDIR"
  File "${FILES}\velnorka.exe"
  File "${FILES}\ČTIMNE.txt"
  File "${FILES}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${If} ${Errors}
    SetOutPath "$TEMP"
    ${If} $Updating == 1
      !insertmacro Fail "Do složky „$INSTDIR“ nelze zapsat všechny soubory Velnorky, a tak aktualizace nebyla dokončena.$\r$\n$\r$\nZavřete programy, které mají soubory Velnorky otevřené, a spusťte instalaci znovu."
    ${EndIf}
    !insertmacro RemoveProgramFiles "$INSTDIR"
    Push $INSTDIR
    Push $CreatedFolder
    Call RemoveCreatedFolders
    !insertmacro Fail "Do složky „$INSTDIR“ nelze zapisovat, a tak Velnorka nebyla nainstalována.$\r$\n$\r$\nZvolte složku, do které smíte zapisovat, například výchozí."
  ${EndIf}

  ${If} $MovedFrom != ""
    !insertmacro RemoveProgramFiles "$MovedFrom"
    ClearErrors
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "CreatedFolder"
    ${If} ${Errors}
      StrCpy $0 $MovedFrom
    ${EndIf}
    Push $MovedFrom
    Push $0
    Call RemoveCreatedFolders
  ${EndIf}
  ; A desktop shortcut of an earlier install goes; the next section makes
  ; it anew when chosen.
  ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
  ${If} $0 == 1
    Delete "$DESKTOP\Velnorka.lnk"
    DeleteRegValue HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
  ${EndIf}

  ClearErrors
  CreateShortcut "$SMPROGRAMS\Velnorka.lnk" "$INSTDIR\velnorka.exe" "" "$INSTDIR\velnorka.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velnorka.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ; The uninstaller runs in place (_?=), so that its exit code is the
  ; caller's and no copy of it is left in %TEMP%.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" _?=$INSTDIR'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "CreatedFolder" "$CreatedFolder"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; Velnorka's own files only, in KiB.
  StrCpy $0 0
  !insertmacro AddFileSize "$INSTDIR\velnorka.exe"
  !insertmacro AddFileSize "$INSTDIR\ČTIMNE.txt"
  !insertmacro AddFileSize "$INSTDIR\LICENSE.txt"
  !insertmacro AddFileSize "$INSTDIR\${UNINSTALLER}"
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  ${If} ${Errors}
    !insertmacro Fail "Velnorka je ve složce „$INSTDIR“, ale zástupce v nabídce Start nebo položku v Aplikacích nelze zapsat."
  ${EndIf}
SectionEnd

Section /o "Zástupce na ploše" SectionDesktop
  CreateShortcut "$DESKTOP\Velnorka.lnk" "$INSTDIR\velnorka.exe" "" "$INSTDIR\velnorka.exe" 0
  ; Only a shortcut made here is removed by the uninstaller.
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "DesktopShortcut" 1
SectionEnd

; The uninstall entry and the shortcuts belong to this copy only when the
; entry names its folder.
Var OwnsEntry
; The uninstaller's own file when it could not delete it.
Var LeftOver

Function un.onInit
  SetShellVarContext current
  StrCpy $OwnsEntry 0
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $OwnsEntry 1
  ${EndIf}
  Push $INSTDIR
  Call un.WaitUntilClosed
  Pop $0
  ${If} $0 == "running"
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; Removes exactly what the setup created: a file the user put into the
; folder stays, and so does the folder then.
Section "Uninstall"
  SetOutPath "$TEMP"
  ; Velnorka may have been started again since un.onInit: then nothing is
  ; removed yet.
  ClearErrors
  Delete "$INSTDIR\velnorka.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Velnorka je spuštěná, a tak nebyla odinstalována. Zavřete ji a spusťte odinstalaci znovu." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  Delete "$INSTDIR\ČTIMNE.txt"
  Delete "$INSTDIR\LICENSE.txt"
  StrCpy $1 ""
  ${If} $OwnsEntry == 1
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
    ${If} $0 == 1
      Delete "$DESKTOP\Velnorka.lnk"
    ${EndIf}
    Delete "$SMPROGRAMS\Velnorka.lnk"
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "CreatedFolder"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  ; Deleted unless it is the program running now, which deletes it once
  ; it has ended (un.onUninstSuccess).
  StrCpy $LeftOver ""
  ClearErrors
  Delete "$INSTDIR\${UNINSTALLER}"
  ${If} ${Errors}
    StrCpy $LeftOver "$INSTDIR\${UNINSTALLER}"
  ${EndIf}
  StrCpy $CreatedFolder $1
  Push $INSTDIR
  Push $CreatedFolder
  Call un.RemoveCreatedFolders
SectionEnd

; A program cannot delete its own file while it runs, and Windows would do
; it only at the next restart, noted under HKEY_LOCAL_MACHINE. A hidden
; command prompt deletes it once the uninstaller has ended, then the
; folders that the setup created, each only when empty.
Function un.onUninstSuccess
  ${If} $LeftOver != ""
    ; rmdir removes only an empty folder.
    StrCpy $2 ""
    ${If} $CreatedFolder != ""
      StrCpy $1 $INSTDIR
      ${Do}
        StrCpy $2 `$2 & rmdir "$1"`
        ${If} $1 == $CreatedFolder
          ${Break}
        ${EndIf}
        ${GetParent} "$1" $1
      ${LoopUntil} $1 == ""
    ${EndIf}
    StrCpy $0 `del /f /q "$LeftOver"$2`
    StrCpy $0 `/c ping -n 4 127.0.0.1 >nul & $0 & if exist "$LeftOver" (ping -n 11 127.0.0.1 >nul & $0)`
    SetOutPath "$TEMP"
    ExecShell "open" "$SYSDIR\cmd.exe" $0 SW_HIDE
  ${EndIf}
FunctionEnd
