; The Quorvel installer. scripts/package.sh builds it:
;   makensis -DVERSION=1.2.3.4 -DSTAGE64=<folder> -DSTAGE32=<folder> -DFILES=<folder>
;            -DICON=<file> -DOUTFILE=<file> quorvel.nsi
; STAGE64 and STAGE32 hold the two packaged Quorvel folders; FILES holds install_files.nsh and
; uninstall_files.nsh, the lists of what is installed, so the uninstaller removes exactly that.
;
; Command line: /S (silent), /AllUsers or /CurrentUser, /Language=english|deutsch,
; /StartWithWindows. The uninstaller: /S, /RemoveSettings.

Unicode true
SetCompressor /SOLID lzma
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"
!define SETTINGS_KEY "Software\Quorvel II"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MAIN_WINDOW_CLASS "TQuorvelDisplay"

Name "Quorvel"
OutFile "${OUTFILE}"
BrandingText "Quorvel ${VERSION}"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Quorvel"
VIAddVersionKey /LANG=1033 "FileDescription" "Quorvel setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 the Quorvel developers"

; Per user without elevation, or for all users with it; /AllUsers and /CurrentUser choose silently.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Quorvel"
!define MULTIUSER_USE_PROGRAMFILES64
; An uninstaller started without a mode finds the install by its key.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include Sections.nsh
!include WinMessages.nsh
!include x64.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

Var ProgramLanguage ; the translation's name, empty for English
Var LanguageList
Var RemoveSettings  ; 1 when the user's settings go too
Var RemoveSettingsBox

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
Page custom LanguagePage LanguagePageLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Quorvel now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsTheUser
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.SettingsPage un.SettingsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Asks a running Quorvel to close, as its Exit command would (it saves its settings), and waits
; for its process to end so its files can be replaced or removed.
!macro CLOSE_RUNNING_QUORVEL un
Function ${un}CloseRunningQuorvel
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "Quorvel"
    ${If} $0 == 0
      Return
    ${EndIf}
    DetailPrint "Closing the running Quorvel"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2' ; SYNCHRONIZE
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    System::Call 'kernel32::WaitForSingleObject(p r2, i 15000) i .r3'
    System::Call 'kernel32::CloseHandle(p r2)'
    ${If} $3 != 0 ; not WAIT_OBJECT_0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Quorvel is still running. Close it from its tray icon, then choose Retry." /SD IDCANCEL IDRETRY retry
      Abort "Quorvel is still running."
      retry:
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_QUORVEL ""
!insertmacro CLOSE_RUNNING_QUORVEL "un."

Section "Quorvel" SecProgram
  SectionIn RO
  Call CloseRunningQuorvel
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "/oname=quorvel.exe" "${STAGE64}/quorvel.exe"
  ${Else}
    File "/oname=quorvel.exe" "${STAGE32}/quorvel.exe"
  ${EndIf}
  !include "${FILES}/install_files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quorvel.lnk" "$INSTDIR\quorvel.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Quorvel"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Quorvel developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\quorvel.exe$\",0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\" /$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S /$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Language" "$ProgramLanguage"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The same entry the preferences window writes, so its check box shows it.
Section /o "Start Quorvel with Windows" SecStartWithWindows
  WriteRegStr HKCU "${RUN_KEY}" "Quorvel" "$\"$INSTDIR\quorvel.exe$\" /boot"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The program, its German translation, its help pages and its sounds, with a Start-menu shortcut."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartWithWindows} "Start Quorvel when you log on to Windows. The preferences window can change this later."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  !insertmacro MULTIUSER_INIT
  ; The language of Windows' own menus, unless the command line names one.
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  IntOp $0 $0 & 0x3FF
  ${If} $0 = 0x07
    StrCpy $ProgramLanguage "deutsch"
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/Language=" $2
  ${IfNot} ${Errors}
    ${If} $2 == "deutsch"
      StrCpy $ProgramLanguage "deutsch"
    ${ElseIf} $2 == "english"
      StrCpy $ProgramLanguage ""
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "Unknown language $\"$2$\": use /Language=english or /Language=deutsch." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
  ClearErrors
  ${GetOptions} $1 "/StartWithWindows" $2
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartWithWindows}
  ${EndIf}
FunctionEnd

Function LanguagePage
  !insertmacro MUI_HEADER_TEXT "Language" "Choose the language of Quorvel's menus and windows."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "Quorvel speaks this language from its first start. Its preferences window can change it at any time."
  Pop $0
  ${NSD_CreateDropList} 0 44u 60% 80u ""
  Pop $LanguageList
  ${NSD_CB_AddString} $LanguageList "English"
  ${NSD_CB_AddString} $LanguageList "Deutsch"
  ${If} $ProgramLanguage == "deutsch"
    ${NSD_CB_SelectString} $LanguageList "Deutsch"
  ${Else}
    ${NSD_CB_SelectString} $LanguageList "English"
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function LanguagePageLeave
  ${NSD_GetText} $LanguageList $0
  ${If} $0 == "Deutsch"
    StrCpy $ProgramLanguage "deutsch"
  ${Else}
    StrCpy $ProgramLanguage ""
  ${EndIf}
FunctionEnd

; An elevated installer would start Quorvel elevated; the shell starts it as the user instead.
Function StartAsTheUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\quorvel.exe"'
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningQuorvel
  !include "${FILES}/uninstall_files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Quorvel.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; The start-up entry goes only when it starts this copy.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Quorvel"
  ${If} $0 == "$\"$INSTDIR\quorvel.exe$\" /boot"
    DeleteRegValue HKCU "${RUN_KEY}" "Quorvel"
  ${EndIf}
  ${If} $RemoveSettings == 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${EndIf}
SectionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  !insertmacro MULTIUSER_UNINIT
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RemoveSettings" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

Function un.SettingsPage
  !insertmacro MUI_HEADER_TEXT "Your settings" "Choose whether your displays, events and presets go too."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 24u "Also remove my Quorvel settings (displays, events, presets and options)"
  Pop $RemoveSettingsBox
  ${If} $RemoveSettings == 1
    ${NSD_Check} $RemoveSettingsBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.SettingsPageLeave
  ${NSD_GetState} $RemoveSettingsBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $RemoveSettings 1
  ${Else}
    StrCpy $RemoveSettings 0
  ${EndIf}
FunctionEnd
