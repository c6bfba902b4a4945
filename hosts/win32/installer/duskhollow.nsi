; The setup program of Duskhollow ScreenSaver: duskhollow.scr goes into the 64-bit system folder,
; its pictures, songs and sounds into <Windows directory>\Duskhollow (where the saver looks for
; them, with the uninstaller and the licence), and an entry into "Apps & features". It can make
; Duskhollow the current user's screen saver.
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
; Uninstall switches: /S silent; /REMOVESETTINGS also removes the settings files;
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
FunctionEnd

Function SelectPage
  !insertmacro MUI_HEADER_TEXT "Screen saver" "Choose whether Duskhollow becomes your screen saver."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "Duskhollow ScreenSaver is installed for everyone who uses this computer. It can also become your screen saver right away; you can choose another one at any time in the screen-saver settings."
  Pop $0
  ${NSD_CreateCheckbox} 0 48u 100% 12u "&Use Duskhollow as my screen saver"
  Pop $SelectBox
  ${NSD_SetState} $SelectBox $Select
  nsDialogs::Show
FunctionEnd

Function SelectPageLeave
  ${NSD_GetState} $SelectBox $Select
FunctionEnd

; Makes Duskhollow the current user's screen saver and tells the system. What it replaces is
; written down for the uninstaller, which puts it back.
Function SelectSaver
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != "$SYSDIR\${SAVER_FILE}"
    DeleteRegValue HKLM "${UNINST_KEY}" "PreviousScreenSaver"
    DeleteRegValue HKLM "${UNINST_KEY}" "PreviousScreenSaveActive"
    ClearErrors
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${IfNot} ${Errors}
      WriteRegStr HKLM "${UNINST_KEY}" "PreviousScreenSaver" $0
    ${EndIf}
    ClearErrors
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${IfNot} ${Errors}
      WriteRegStr HKLM "${UNINST_KEY}" "PreviousScreenSaveActive" $0
    ${EndIf}
    WriteRegDWORD HKLM "${UNINST_KEY}" "ScreenSaverChosenBySetup" 1
  ${EndIf}
  DetailPrint "Making Duskhollow the screen saver"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\${SAVER_FILE}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SENDCHANGE})'
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
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

  ${If} $Select == ${BST_CHECKED}
    Call SelectSaver
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

; If Duskhollow is still the user's screen saver, puts back what setup replaced (when that is
; still there), or else leaves no screen saver chosen.
Function un.Deselect
  GetFullPathName /SHORT $1 "$SYSDIR\${SAVER_FILE}"
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == ""
    Return
  ${EndIf}
  ${If} $0 != "$SYSDIR\${SAVER_FILE}"
  ${AndIf} $0 != $1
    Return
  ${EndIf}
  DetailPrint "Duskhollow is no longer the screen saver"
  ClearErrors
  ReadRegDWORD $0 HKLM "${UNINST_KEY}" "ScreenSaverChosenBySetup"
  ${If} $0 <> 1
    ; Chosen by the user: no screen saver now.
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATEINIFILE}|${SPIF_SENDCHANGE})'
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "0"
    Return
  ${EndIf}
  ClearErrors
  ReadRegStr $0 HKLM "${UNINST_KEY}" "PreviousScreenSaver"
  ${If} ${Errors}
  ${OrIfNot} ${FileExists} "$0"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    StrCpy $2 0
  ${Else}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
    StrCpy $2 1
  ${EndIf}
  ClearErrors
  ReadRegStr $0 HKLM "${UNINST_KEY}" "PreviousScreenSaveActive"
  ${If} ${Errors}
    DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    StrCpy $2 0
  ${Else}
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $0
    ${If} $0 != "1"
      StrCpy $2 0
    ${EndIf}
  ${EndIf}
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i $2, p 0, i ${SPIF_SENDCHANGE})'
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
  RMDir "$INSTDIR"
  ${If} $Upgrade = 1
    Return
  ${EndIf}

  ${If} $RemoveSettings == ${BST_CHECKED}
    DetailPrint "Removing the settings"
    Delete "$WINDIR\${SETTINGS_FILE}"
    Delete "$APPDATA\Duskhollow\${SETTINGS_FILE}"
    RMDir "$APPDATA\Duskhollow"
  ${EndIf}
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
