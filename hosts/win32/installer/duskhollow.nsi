; The setup program of Duskhollow ScreenSaver: duskhollow.scr goes into the 64-bit system folder,
; its pictures, songs and sounds into <Windows directory>\Duskhollow (where the saver looks for
; them, with the uninstaller and the licence), and an entry into "Apps & features". It can make
; Duskhollow the screen saver of the user at the desktop: the account that started the setup, also
; when an administrator's account runs it (the choice then goes to that user's registry hive, or,
; where it cannot be reached, the finish page offers the user's own screen-saver settings). What
; the choice replaced is kept in that user's registry (HKCU\Software\Duskhollow) for the uninstaller.
;
; The build runs makensis with these defined:
;   VERSION, VERSION_QUAD   the project's version ("1.2.3", "1.2.3.0")
;   SCR                     the built duskhollow.scr
;   ICON                    the saver's icon
;   WIZARD                  (optional) the welcome and finish pages' picture, 164 x 314
;   LICENSE                 the licence text (CRLF lines)
;   DATA_FILES              an include that installs the data folder's files into $INSTDIR
;   DATA_REMOVE             an include that deletes the same files
;   OUTFILE                 the setup program to write
;
; Setup switches:     /S silent; /SELECT (with /S) makes Duskhollow the screen saver.
; Uninstall switches: /S silent; /REMOVESETTINGS also removes the settings (the Duskhollow section
;                     of each settings file, and the file once nothing else is left in it);
;                     /UPGRADE (run by a newer setup) removes only the program's files and leaves
;                     the screen-saver choice, the settings and the entry to the new version.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; The same inputs make the same setup program: the files' times are not stored (installed files
; take the time of the install).
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh

!define PRODUCT "Duskhollow ScreenSaver"
!define PUBLISHER "The Duskhollow developers"
!define SAVER_FILE "duskhollow.scr"
!define UNINSTALLER "uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Duskhollow"
!define DESKTOP_KEY "Control Panel\Desktop"
; Per user: what setup's choice of screen saver replaced.
!define USER_KEY "Software\Duskhollow"
!define SETTINGS_SECTION "Duskhollow"
; Opens the user's own screen-saver settings when setup runs as another account.
!define USER_SHORTCUT "Screen saver settings.lnk"
!define SETTINGS_FILE "tarnix.ini"
; The saver's windows: the full-screen saver and the settings dialog.
!define SAVER_CLASS "DuskhollowScreenSaver"
!define SETTINGS_CLASS "DuskhollowSettings"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE 1
!define SPIF_SENDCHANGE 2

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$WINDIR\Duskhollow"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

Var Select           ; BST_CHECKED: make Duskhollow the screen saver
Var SelectBox
Var RemoveSettings   ; BST_CHECKED: the uninstaller also removes the settings files
Var RemoveBox
Var Upgrade          ; 1: the uninstaller runs for a newer setup
Var DeskSid          ; the desktop user's key under HKU when setup runs as another account, else ""
Var DeskUser         ; that user's name
Var DeskReached      ; 1: that user's registry can be written
Var DeskAppData      ; that user's application-data folder
Var Selected         ; 1: Duskhollow was made the desktop user's screen saver
Var FinishText
; Taking a section out of a settings file.
Var IniIn            ; read character by character
Var IniCopy          ; copies the lines that stay
Var IniOut           ; the file without the section
Var IniUnit          ; bytes per character: 1, or 2 for UTF-16
Var IniBigEndian     ; 1: UTF-16 with the high byte first
Var IniChar          ; the character read; 65536 for an odd last byte

; --- pages -------------------------------------------------------------------------------------

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!ifdef WIZARD
  !define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
  !define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!endif

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_TEXT "Licence"
!define MUI_PAGE_HEADER_SUBTEXT "The terms on which Duskhollow ScreenSaver is shared."
!define MUI_LICENSEPAGE_TEXT_TOP "Duskhollow ScreenSaver is free software under the MIT licence:"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "You may use, copy and share it on these terms. Click Next to continue."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
Page custom SelectPage SelectPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen-saver settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.RemovePage un.RemovePageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion ${VERSION_QUAD}
VIFileVersion ${VERSION_QUAD}
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}. MIT licence."
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "duskhollow-setup.exe"

; --- shared by setup and uninstaller -----------------------------------------------------------

; Writing the system folder takes administrator rights: without them, say so and stop.
!macro RequireAdmin WHAT
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs administrator rights to ${WHAT}: it changes the Windows system folder.$\r$\n$\r$\nStart this program again and answer Yes when Windows asks whether it may make changes, or ask an administrator of this computer to ${WHAT} it." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

; Closes a running saver or settings dialog (unapplied settings are dropped, as by Cancel), then
; makes sure nothing else holds duskhollow.scr: the control panel's preview runs it too, and is
; closed only by the user.
!macro CloseRunningSaver UN
Function ${UN}CloseRunningSaver
  FindWindow $0 "${SAVER_CLASS}"
  FindWindow $1 "${SETTINGS_CLASS}"
  ${If} $0 <> 0
  ${OrIf} $1 <> 0
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "${PRODUCT} is running (the screen saver or its settings window) and will be closed first. Changes not yet applied in the settings window will be lost." /SD IDOK IDOK close
    Abort "Cancelled: ${PRODUCT} is still running."
  close:
    DetailPrint "Closing ${PRODUCT}..."
    StrCpy $2 0
    ${Do}
      FindWindow $0 "${SAVER_CLASS}"
      ${If} $0 <> 0
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
      ${EndIf}
      FindWindow $1 "${SETTINGS_CLASS}"
      ${If} $1 <> 0
        SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=2000
      ${EndIf}
      ${If} $0 = 0
      ${AndIf} $1 = 0
        ${Break}
      ${EndIf}
      IntOp $2 $2 + 1
      ${If} $2 > 50
        ${Break}
      ${EndIf}
      Sleep 200
    ${Loop}
  ${EndIf}
  ; A program still running from the file keeps it from being opened for writing.
  retry:
  ${If} ${FileExists} "$SYSDIR\${SAVER_FILE}"
    ClearErrors
    FileOpen $0 "$SYSDIR\${SAVER_FILE}" a
    ${If} ${Errors}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still in use, perhaps by the preview in the screen-saver settings or by its settings window.$\r$\n$\r$\nClose them, then click Retry." /SD IDCANCEL IDRETRY retry
      Abort "Cancelled: ${PRODUCT} is still in use."
    ${EndIf}
    FileClose $0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro CloseRunningSaver ""
!insertmacro CloseRunningSaver "un."

; The registry of the user at the desktop: HKCU, or that user's hive when this program runs as
; another account.
!macro UserReg OP KEY ARGS
  ${If} $DeskSid == ""
    ${OP} HKCU "${KEY}" ${ARGS}
  ${Else}
    ${OP} HKU "$DeskSid\${KEY}" ${ARGS}
  ${EndIf}
!macroend
!define UserReg "!insertmacro UserReg"
!macro UserRead OP OUT KEY NAME
  ${If} $DeskSid == ""
    ${OP} ${OUT} HKCU "${KEY}" "${NAME}"
  ${Else}
    ${OP} ${OUT} HKU "$DeskSid\${KEY}" "${NAME}"
  ${EndIf}
!macroend
!define UserRead "!insertmacro UserRead"

; Finds whose screen saver to set: the user signed in at this desktop. When that is another
; account than the one this program runs as (an administrator's, typed in at the elevation
; prompt), its registry hive is written under HKU if it is loaded and may be written.
!macro FindDesktopUser UN
Function ${UN}FindDesktopUser
  StrCpy $DeskSid ""
  StrCpy $DeskUser ""
  StrCpy $DeskReached 1
  StrCpy $DeskAppData $APPDATA
  ; WTSUserName (5) and WTSDomainName (7) of this session.
  System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i 5, *p .r1, *i .r2) i .r0'
  ${If} $0 = 0
    Return
  ${EndIf}
  System::Call 'kernel32::lstrcpynW(w .r3, p r1, i ${NSIS_MAX_STRLEN})'
  System::Call 'wtsapi32::WTSFreeMemory(p r1)'
  StrCpy $4 ""
  System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i 7, *p .r1, *i .r2) i .r0'
  ${If} $0 <> 0
    System::Call 'kernel32::lstrcpynW(w .r4, p r1, i ${NSIS_MAX_STRLEN})'
    System::Call 'wtsapi32::WTSFreeMemory(p r1)'
  ${EndIf}
  System::Call 'advapi32::GetUserNameW(w .r5, *i ${NSIS_MAX_STRLEN}) i .r0'
  ${If} $3 == ""
  ${OrIf} $3 == $5
    Return
  ${EndIf}
  StrCpy $DeskUser $3
  StrCpy $DeskReached 0
  StrCpy $DeskAppData ""
  ${If} $4 != ""
    StrCpy $3 "$4\$3"
  ${EndIf}
  System::Alloc 256
  Pop $6
  System::Call 'advapi32::LookupAccountNameW(p 0, w r3, p r6, *i 256, w .r7, *i ${NSIS_MAX_STRLEN}, *i .r8) i .r0'
  ${If} $0 <> 0
    System::Call 'advapi32::ConvertSidToStringSidW(p r6, *p .r1) i .r0'
    ${If} $0 <> 0
      System::Call 'kernel32::lstrcpynW(w .r2, p r1, i ${NSIS_MAX_STRLEN})'
      System::Call 'kernel32::LocalFree(p r1)'
      ; Its hive is there (the user is signed in) and this account may write it.
      ClearErrors
      WriteRegDWORD HKU "$2\${USER_KEY}" "Probe" 1
      ${IfNot} ${Errors}
        DeleteRegValue HKU "$2\${USER_KEY}" "Probe"
        DeleteRegKey /ifempty HKU "$2\${USER_KEY}"
        StrCpy $DeskSid $2
        StrCpy $DeskReached 1
        ReadRegStr $0 HKU "$DeskSid\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders" "AppData"
        StrCpy $DeskAppData $0
      ${EndIf}
    ${EndIf}
  ${EndIf}
  System::Free $6
FunctionEnd
!macroend
!insertmacro FindDesktopUser ""
!insertmacro FindDesktopUser "un."

; --- setup -------------------------------------------------------------------------------------

Function .onInit
  SetRegView 64
  SetShellVarContext current
  !insertmacro RequireAdmin "install"
  ; Asked on its page; a silent setup leaves the user's choice alone unless told /SELECT.
  StrCpy $Select ${BST_CHECKED}
  ${If} ${Silent}
    StrCpy $Select ${BST_UNCHECKED}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SELECT" $1
  ${IfNot} ${Errors}
    StrCpy $Select ${BST_CHECKED}
  ${EndIf}
  Call FindDesktopUser
  StrCpy $Selected 0
FunctionEnd

Function SelectPage
  !insertmacro MUI_HEADER_TEXT "Screen saver" "Choose whether Duskhollow becomes your screen saver."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "Duskhollow ScreenSaver is installed for everyone who uses this computer. It can also become your screen saver right away; you can choose another one at any time in the screen-saver settings."
  Pop $0
  StrCpy $0 "&Use Duskhollow as my screen saver"
  ${If} $DeskUser != ""
    StrCpy $0 "&Use Duskhollow as $DeskUser's screen saver"
  ${EndIf}
  ${NSD_CreateCheckbox} 0 48u 100% 12u $0
  Pop $SelectBox
  ${NSD_SetState} $SelectBox $Select
  nsDialogs::Show
FunctionEnd

Function SelectPageLeave
  ${NSD_GetState} $SelectBox $Select
FunctionEnd

; Makes Duskhollow the desktop user's screen saver and tells the system. What it replaces is
; written down in that user's registry for the uninstaller, which puts it back.
Function SelectSaver
  ${If} $DeskReached <> 1
    DetailPrint "Duskhollow cannot be made $DeskUser's screen saver from this account"
    Return
  ${EndIf}
  ${UserRead} ReadRegStr $0 "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != "$SYSDIR\${SAVER_FILE}"
    ${UserReg} DeleteRegValue "${USER_KEY}" "PreviousScreenSaver"
    ${UserReg} DeleteRegValue "${USER_KEY}" "PreviousScreenSaveActive"
    ClearErrors
    ${UserRead} ReadRegStr $0 "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${IfNot} ${Errors}
      ${UserReg} WriteRegStr "${USER_KEY}" '"PreviousScreenSaver" $0'
    ${EndIf}
    ClearErrors
    ${UserRead} ReadRegStr $0 "${DESKTOP_KEY}" "ScreenSaveActive"
    ${IfNot} ${Errors}
      ${UserReg} WriteRegStr "${USER_KEY}" '"PreviousScreenSaveActive" $0'
    ${EndIf}
    ${UserReg} WriteRegDWORD "${USER_KEY}" '"ScreenSaverChosenBySetup" 1'
  ${EndIf}
  DetailPrint "Making Duskhollow the screen saver"
  ${UserReg} WriteRegStr "${DESKTOP_KEY}" '"SCRNSAVE.EXE" "$SYSDIR\${SAVER_FILE}"'
  ${UserReg} WriteRegStr "${DESKTOP_KEY}" '"ScreenSaveActive" "1"'
  ; The running session's setting (the registry holds the user's).
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SENDCHANGE})'
  StrCpy $Selected 1
FunctionEnd

; Opens the screen-saver settings of the user at the desktop; with Duskhollow chosen in them when
; setup was to choose it and could not. Run as another account, it has the desktop's shell open a
; shortcut, so that they open as that user.
Function OpenScreenSaverSettings
  StrCpy $0 "$SYSDIR\control.exe"
  StrCpy $1 "desk.cpl,,@screensaver"
  ${If} $Select == ${BST_CHECKED}
  ${AndIf} $Selected <> 1
    StrCpy $0 "$SYSDIR\rundll32.exe"
    StrCpy $1 "desk.cpl,InstallScreenSaver $SYSDIR\${SAVER_FILE}"
  ${EndIf}
  ${If} $DeskUser == ""
    Exec '"$0" $1'
  ${Else}
    CreateShortcut "$INSTDIR\${USER_SHORTCUT}" "$0" "$1"
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\${USER_SHORTCUT}"'
  ${EndIf}
FunctionEnd

Section "Duskhollow ScreenSaver"
  Call CloseRunningSaver

  ; An installed version: its own uninstaller takes its files away first. The settings, the
  ; screen-saver choice and the entry stay for this version.
  ReadRegStr $0 HKLM "${UNINST_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\${UNINSTALLER}"
    DetailPrint "Removing the installed version"
    ExecWait '"$0\${UNINSTALLER}" /S /UPGRADE _?=$0' $1
    Delete "$0\${UNINSTALLER}"
  ${EndIf}

  ; A copy put into the Windows directory by hand would be listed twice: this one replaces it.
  ${If} ${FileExists} "$WINDIR\${SAVER_FILE}"
    DetailPrint "Replacing the copy in $WINDIR"
    GetFullPathName /SHORT $1 "$WINDIR\${SAVER_FILE}"
    Delete "$WINDIR\${SAVER_FILE}"
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} $0 == "$WINDIR\${SAVER_FILE}"
    ${OrIf} $0 == $1
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\${SAVER_FILE}"
    ${EndIf}
  ${EndIf}

  SetOverwrite on
  SetOutPath "$SYSDIR"
  File "${SCR}"
  SetOutPath "$INSTDIR"
  !include "${DATA_FILES}"
  SetOutPath "$INSTDIR"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$SYSDIR\${SAVER_FILE},0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$SYSDIR" "/M=${SAVER_FILE} /S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0

  ; Setups before this one kept the user's earlier choice machine-wide: it becomes that user's.
  ClearErrors
  ReadRegDWORD $0 HKLM "${UNINST_KEY}" "ScreenSaverChosenBySetup"
  ${IfNot} ${Errors}
  ${AndIf} $DeskReached = 1
    ${UserReg} WriteRegDWORD "${USER_KEY}" '"ScreenSaverChosenBySetup" $0'
    ${ForEach} $1 1 2 + 1
      ${If} $1 = 1
        StrCpy $2 "PreviousScreenSaver"
      ${Else}
        StrCpy $2 "PreviousScreenSaveActive"
      ${EndIf}
      ClearErrors
      ReadRegStr $0 HKLM "${UNINST_KEY}" $2
      ${IfNot} ${Errors}
        ${UserReg} WriteRegStr "${USER_KEY}" '$2 $0'
      ${EndIf}
    ${Next}
  ${EndIf}
  DeleteRegValue HKLM "${UNINST_KEY}" "ScreenSaverChosenBySetup"
  DeleteRegValue HKLM "${UNINST_KEY}" "PreviousScreenSaver"
  DeleteRegValue HKLM "${UNINST_KEY}" "PreviousScreenSaveActive"

  ${If} $Select == ${BST_CHECKED}
    Call SelectSaver
  ${EndIf}
  StrCpy $FinishText "${PRODUCT} has been installed on your computer.$\r$\n$\r$\nClick Finish to close this wizard."
  ${If} $Select == ${BST_CHECKED}
  ${AndIf} $Selected <> 1
    StrCpy $FinishText "${PRODUCT} has been installed on your computer.$\r$\n$\r$\nIt could not be made $DeskUser's screen saver: this setup runs as another account, which cannot change $DeskUser's settings. With the box below ticked, $DeskUser's screen-saver settings open with Duskhollow chosen; click OK there to keep it."
  ${EndIf}
SectionEnd

; --- uninstaller -------------------------------------------------------------------------------

Function un.onInit
  SetRegView 64
  SetShellVarContext current
  !insertmacro RequireAdmin "uninstall"
  StrCpy $RemoveSettings ${BST_UNCHECKED}
  StrCpy $Upgrade 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings ${BST_CHECKED}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/UPGRADE" $1
  ${IfNot} ${Errors}
    StrCpy $Upgrade 1
  ${EndIf}
  Call un.FindDesktopUser
FunctionEnd

Function un.RemovePage
  !insertmacro MUI_HEADER_TEXT "Uninstall ${PRODUCT}" "Remove ${PRODUCT} from this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 56u "The screen saver (${SAVER_FILE} in the system folder) and its pictures, songs and sounds in $INSTDIR will be removed. If Duskhollow is your screen saver, the one you had before is chosen again.$\r$\n$\r$\nYour settings (the creatures, songs and message you chose) stay on this computer, so that Duskhollow finds them again if you install it later."
  Pop $0
  ${NSD_CreateCheckbox} 0 64u 100% 12u "Also &remove my settings"
  Pop $RemoveBox
  ${NSD_SetState} $RemoveBox $RemoveSettings
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
  nsDialogs::Show
FunctionEnd

Function un.RemovePageLeave
  ${NSD_GetState} $RemoveBox $RemoveSettings
FunctionEnd

; If Duskhollow is still the desktop user's screen saver, puts back what setup replaced (when
; that is still there), or else leaves no screen saver chosen.
Function un.Deselect
  ${If} $DeskReached <> 1
    Return
  ${EndIf}
  GetFullPathName /SHORT $1 "$SYSDIR\${SAVER_FILE}"
  ${UserRead} ReadRegStr $0 "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == ""
  ${OrIf} $0 != "$SYSDIR\${SAVER_FILE}"
  ${AndIf} $0 != $1
    ${UserReg} DeleteRegKey "${USER_KEY}" ""
    Return
  ${EndIf}
  DetailPrint "Duskhollow is no longer the screen saver"
  StrCpy $2 0
  ClearErrors
  ${UserRead} ReadRegDWORD $0 "${USER_KEY}" "ScreenSaverChosenBySetup"
  ${If} $0 <> 1
    ; Chosen by the user: no screen saver now.
    ${UserReg} DeleteRegValue "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${UserReg} WriteRegStr "${DESKTOP_KEY}" '"ScreenSaveActive" "0"'
  ${Else}
    ClearErrors
    ${UserRead} ReadRegStr $0 "${USER_KEY}" "PreviousScreenSaver"
    ${If} ${Errors}
    ${OrIfNot} ${FileExists} "$0"
      ${UserReg} DeleteRegValue "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      ${UserReg} WriteRegStr "${DESKTOP_KEY}" '"SCRNSAVE.EXE" $0'
      StrCpy $2 1
    ${EndIf}
    ClearErrors
    ${UserRead} ReadRegStr $0 "${USER_KEY}" "PreviousScreenSaveActive"
    ${If} ${Errors}
      ${UserReg} DeleteRegValue "${DESKTOP_KEY}" "ScreenSaveActive"
      StrCpy $2 0
    ${Else}
      ${UserReg} WriteRegStr "${DESKTOP_KEY}" '"ScreenSaveActive" $0'
      ${If} $0 != "1"
        StrCpy $2 0
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${UserReg} DeleteRegKey "${USER_KEY}" ""
  ; The running session's setting (the registry holds the user's).
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i $2, p 0, i ${SPIF_SENDCHANGE})'
FunctionEnd

; Reads the next character of $IniIn into $IniChar; the error flag at the end of the file.
Function un.IniReadChar
  ClearErrors
  FileReadByte $IniIn $IniChar
  ${If} ${Errors}
    SetErrors ; asking cleared it
    Return
  ${EndIf}
  ${If} $IniUnit = 1
    Return
  ${EndIf}
  FileReadByte $IniIn $R9
  ${If} ${Errors}
    ClearErrors
    StrCpy $IniChar 65536 ; an odd last byte: no character, kept as it is
  ${ElseIf} $IniBigEndian = 1
    IntOp $IniChar $IniChar << 8
    IntOp $IniChar $IniChar | $R9
  ${Else}
    IntOp $R9 $R9 << 8
    IntOp $IniChar $IniChar | $R9
  ${EndIf}
FunctionEnd

; Copies bytes $R1 to $R2 (not included) of the file being read to the new file.
Function un.IniCopy
  FileSeek $IniCopy $R1 SET
  ${For} $R9 $R1 $R2
    ${If} $R9 < $R2
      FileReadByte $IniCopy $R8
      FileWriteByte $IniOut $R8
    ${EndIf}
  ${Next}
FunctionEnd

; Takes the Duskhollow section(s) out of the settings file named on the stack, as the saver
; reads them (a line "[name]" starts a section; names ignore case; a line ends at CR LF, LF or a
; lone CR), in any of its encodings. Every other byte stays as it was; the file goes when only
; blank lines would be left, and stays untouched when it has no such section.
Function un.RemoveSettingsFrom
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  Push $R8
  Push $R9
  ClearErrors
  FileOpen $IniIn "$R0" r
  ${If} ${Errors}
    Goto done
  ${EndIf}
  FileOpen $IniCopy "$R0" r
  FileOpen $IniOut "$R0.~uninstall" w
  ; The encoding, by its mark.
  StrCpy $IniUnit 1
  StrCpy $IniBigEndian 0
  StrCpy $R2 0
  FileReadByte $IniIn $R3
  FileReadByte $IniIn $R4
  FileReadByte $IniIn $R5
  ${If} $R3 = 0xFF
  ${AndIf} $R4 = 0xFE
    StrCpy $IniUnit 2
    StrCpy $R2 2
  ${ElseIf} $R3 = 0xFE
  ${AndIf} $R4 = 0xFF
    StrCpy $IniUnit 2
    StrCpy $IniBigEndian 1
    StrCpy $R2 2
  ${ElseIf} $R3 = 0xEF
  ${AndIf} $R4 = 0xBB
  ${AndIf} $R5 = 0xBF
    StrCpy $R2 3
  ${EndIf}
  StrCpy $R1 0
  Call un.IniCopy
  FileSeek $IniIn $R2 SET
  StrCpy $R3 0 ; in our section
  StrCpy $R4 0 ; our section was there
  StrCpy $R5 0 ; something else stays
  ${Do}
    FileSeek $IniIn 0 CUR $R1
    StrCpy $R6 "" ; the line's first characters (others than printable ASCII as "?")
    StrCpy $R7 0  ; 1: it holds a "]"
    ${Do}
      Call un.IniReadChar
      ${If} ${Errors}
      ${OrIf} $IniChar = 10
        ${Break}
      ${EndIf}
      ${If} $IniChar = 13
        FileSeek $IniIn 0 CUR $R2
        Call un.IniReadChar
        ${If} ${Errors}
        ${OrIf} $IniChar <> 10
          FileSeek $IniIn $R2 SET
        ${EndIf}
        ${Break}
      ${EndIf}
      ${If} $IniChar = 93
        StrCpy $R7 1
      ${EndIf}
      StrLen $R8 $R6
      ${If} $R8 < 300
        ${If} $IniChar = 9
          StrCpy $R6 "$R6$\t"
        ${ElseIf} $IniChar >= 32
        ${AndIf} $IniChar < 127
          IntFmt $R8 "%c" $IniChar
          StrCpy $R6 "$R6$R8"
        ${Else}
          StrCpy $R6 "$R6?"
        ${EndIf}
      ${EndIf}
    ${Loop}
    FileSeek $IniIn 0 CUR $R2
    ${If} $R1 = $R2
      ${Break}
    ${EndIf}
    ; Trimmed of blanks and tabs.
    ${Do}
      StrCpy $R8 $R6 1
      ${If} $R8 == " "
      ${OrIf} $R8 == "$\t"
        StrCpy $R6 $R6 "" 1
      ${Else}
        ${Break}
      ${EndIf}
    ${Loop}
    ${Do}
      StrCpy $R8 $R6 1 -1
      ${If} $R8 == " "
      ${OrIf} $R8 == "$\t"
        StrCpy $R6 $R6 -1
      ${Else}
        ${Break}
      ${EndIf}
    ${Loop}
    StrCpy $R8 $R6 1
    ${If} $R8 == "["
    ${AndIf} $R7 = 1
      ; A section: its name is what stands between "[" and the first "]", trimmed.
      StrCpy $R6 $R6 "" 1
      StrCpy $R7 0
      ${Do}
        StrCpy $R8 $R6 1 $R7
        ${If} $R8 == "]"
        ${OrIf} $R8 == ""
          ${Break}
        ${EndIf}
        IntOp $R7 $R7 + 1
      ${Loop}
      StrCpy $R6 $R6 $R7
      ${Do}
        StrCpy $R8 $R6 1
        ${If} $R8 == " "
        ${OrIf} $R8 == "$\t"
          StrCpy $R6 $R6 "" 1
        ${Else}
          ${Break}
        ${EndIf}
      ${Loop}
      ${Do}
        StrCpy $R8 $R6 1 -1
        ${If} $R8 == " "
        ${OrIf} $R8 == "$\t"
          StrCpy $R6 $R6 -1
        ${Else}
          ${Break}
        ${EndIf}
      ${Loop}
      StrCpy $R3 0
      ${If} $R6 == "${SETTINGS_SECTION}" ; StrCmp ignores case, as the saver does
        StrCpy $R3 1
        StrCpy $R4 1
      ${EndIf}
      StrCpy $R6 "[" ; not blank
    ${EndIf}
    ${If} $R3 = 0
      ${If} $R6 != ""
        StrCpy $R5 1
      ${EndIf}
      Call un.IniCopy
    ${EndIf}
    FileSeek $IniIn $R2 SET
  ${Loop}
  FileClose $IniIn
  FileClose $IniCopy
  FileClose $IniOut
  ${If} $R4 = 0
    Delete "$R0.~uninstall"
  ${ElseIf} $R5 = 1
    ; MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH: the old file or the new one, never half.
    System::Call 'kernel32::MoveFileExW(w "$R0.~uninstall", w "$R0", i 9) i .r0'
    ${If} $0 = 0
      Delete "$R0.~uninstall"
      DetailPrint "Could not take the settings out of $R0"
    ${EndIf}
  ${Else}
    Delete "$R0"
    Delete "$R0.~uninstall"
  ${EndIf}
  done:
  Pop $R9
  Pop $R8
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningSaver
  ${If} $Upgrade <> 1
    Call un.Deselect
  ${EndIf}

  Delete "$SYSDIR\${SAVER_FILE}"
  !include "${DATA_REMOVE}"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  Delete "$INSTDIR\${USER_SHORTCUT}"
  RMDir "$INSTDIR"
  ${If} $Upgrade = 1
    Return
  ${EndIf}

  ${If} $RemoveSettings == ${BST_CHECKED}
    DetailPrint "Removing the settings"
    Push "$WINDIR\${SETTINGS_FILE}"
    Call un.RemoveSettingsFrom
    ${If} $DeskAppData != ""
      Push "$DeskAppData\Duskhollow\${SETTINGS_FILE}"
      Call un.RemoveSettingsFrom
      RMDir "$DeskAppData\Duskhollow"
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
