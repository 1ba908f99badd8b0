; The installer of Remote Control (NSIS 3, Unicode). The build runs makensis
; with these definitions (cmake/installer.cmake):
;   VERSION   the project version, 1.10.6.3
;   PROGRAM   RemoteControl.exe of the build
;   SOURCE    the source tree (README.md, LICENSE.txt, resources/)
;   OUTFILE   the installer to write
;   TARGET    x86-unicode (the product); amd64-unicode for the 64-bit test
;             build, which is what 64-bit Wine can run
;
; It installs the program for every user: files in Program Files (the 32-bit
; one on 64-bit Windows), a Start-menu shortcut, start at logon, the settings
; key with its defaults where a value is missing, and its Programs and
; Features entry. Installing over an installed copy ends the running program
; first. Silent switches: /S, and /D=FOLDER (last) for another folder.

Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Remote Control"
!define COMPANY "Orvalix Multimedia"
!define EXE "RemoteControl.exe"
!define WINDOW_CLASS "Remote Control"
; The tray menu's Exit command of the program's main window.
!define CMD_EXIT 1201
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "SOFTWARE\${COMPANY}\Calderin"
; Where Windows keeps the settings a standard user changed (virtualised).
!define VIRTUAL_STORE "Software\Classes\VirtualStore\MACHINE\SOFTWARE"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 ${COMPANY}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define MUI_ICON "${SOURCE}/resources/remote.ico"
!define MUI_UNICON "${SOURCE}/resources/remote.ico"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${PRODUCT} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "${PRODUCT} turns the infrared remote of your USB TV-tuner stick into \
commands for your TV application. It runs as an icon in the notification area and starts each \
time a user logs on.$\r$\n$\r$\n\
This installer does not include the tuner chip's access library (af15bdaex.dll, af9100ex.dll or \
RTL283XACCESS.dll): it comes with your tuner stick's driver. Install the driver first.$\r$\n$\r$\n\
$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${SOURCE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "${PRODUCT} will be removed from your computer. Its settings \
stay, for a later installation, unless you tick $\"Remove my settings$\"."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; EndProgram: ends a running copy of the program as its tray menu's Exit
; does, and waits up to 5 s for its window to go and its file to be free.
; Asks the user to end it by hand when it does not go (a silent run gives up).
!macro END_PROGRAM prefix
Function ${prefix}EndProgram
    Push $0
    Push $1
    Push $2
retry:
    StrCpy $1 0
wait:
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 <> 0
        ${If} $1 = 0
            DetailPrint "Ending the running ${PRODUCT}"
        ${EndIf}
        ; Each copy (each logged-on user's) gets the command once a second.
        IntOp $2 $1 % 10
        ${If} $2 = 0
            System::Call 'user32::PostMessage(p $0, i ${WM_COMMAND}, p ${CMD_EXIT}, p 0)'
        ${EndIf}
    ${ElseIf} ${FileExists} "$INSTDIR\${EXE}"
        ; The window is gone; the process may still hold its file a moment.
        ClearErrors
        FileOpen $2 "$INSTDIR\${EXE}" a
        ${IfNot} ${Errors}
            FileClose $2
            Goto done
        ${EndIf}
    ${Else}
        Goto done
    ${EndIf}
    ${If} $1 < 50
        IntOp $1 $1 + 1
        Sleep 100
        Goto wait
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running. End it with Exit \
in its notification-area menu, then choose Retry." /SD IDCANCEL IDRETRY retry
    Abort "${PRODUCT} is still running."
done:
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro END_PROGRAM ""
!insertmacro END_PROGRAM "un."

; SettingDefault NAME VALUE: writes the DWORD setting only when no value of
; that name exists, whatever its type: a user's settings are never replaced.
!macro SETTING_DEFAULT name value
    Push "${name}"
    Push ${value}
    Call SettingDefault
!macroend
Function SettingDefault
    Exch $1 ; value
    Exch
    Exch $0 ; name
    Push $2
    Push $3
    StrCpy $2 0
    ${Do}
        ClearErrors
        EnumRegValue $3 HKLM "${SETTINGS_KEY}" $2
        ${If} ${Errors}
        ${OrIf} $3 == ""
            WriteRegDWORD HKLM "${SETTINGS_KEY}" $0 $1
            ${Break}
        ${EndIf}
        ${If} $3 == $0 ; value names are not case-sensitive, nor is ==
            ${Break}
        ${EndIf}
        IntOp $2 $2 + 1
    ${Loop}
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; The finish page's "Start": through the shell, so that the program runs as
; the logged-on user, not with the installer's administrator rights.
Function StartProgram
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\${EXE}"'
FunctionEnd

Function .onInit
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_ICONSTOP "Installing ${PRODUCT} needs administrator rights." /SD IDOK
        SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
FunctionEnd

Section "${PRODUCT}" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    Call EndProgram
    ClearErrors
    File "${PROGRAM}"
    ${If} ${Errors}
        Abort "${EXE} could not be replaced."
    ${EndIf}
    File "/oname=README.txt" "${SOURCE}/README.md"
    File "${SOURCE}/LICENSE.txt"
    ; Examples of user key maps; the installing user gets a copy to edit,
    ; never over one of theirs.
    File /nonfatal "/oname=applications.example.ini" "${SOURCE}/resources/applications.ini"
    SetShellVarContext current
    ${If} ${FileExists} "$INSTDIR\applications.example.ini"
    ${AndIfNot} ${FileExists} "$APPDATA\${PRODUCT}\applications.ini"
        CreateDirectory "$APPDATA\${PRODUCT}"
        CopyFiles /SILENT "$INSTDIR\applications.example.ini" "$APPDATA\${PRODUCT}\applications.ini"
    ${EndIf}
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${EXE}"'

    ; The defaults of the program's own settings store.
    !insertmacro SETTING_DEFAULT "DefaultTVAPP" 9
    !insertmacro SETTING_DEFAULT "AlwaysRemoteOff" 0
    !insertmacro SETTING_DEFAULT "Default44keyIR" 0
    !insertmacro SETTING_DEFAULT "DefaultLaunchAp" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.${PRODUCT}" UnSecProgram
    SectionIn RO
    Call un.EndProgram
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\applications.example.ini"
    Delete "$INSTDIR\uninstall.exe"
    ; Kept when something else was put there (a tuner library, say).
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my settings" UnSecSettings
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKLM "SOFTWARE\${COMPANY}"
    ; This user's copies: the settings Windows virtualised, the key maps.
    DeleteRegKey HKCU "${VIRTUAL_STORE}\${COMPANY}\Calderin"
    DeleteRegKey HKCU "${VIRTUAL_STORE}\WOW6432Node\${COMPANY}\Calderin"
    SetShellVarContext current
    Delete "$APPDATA\${PRODUCT}\applications.ini"
    RMDir "$APPDATA\${PRODUCT}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} "The program, its shortcut, its start at logon."
    !insertmacro MUI_DESCRIPTION_TEXT ${UnSecSettings} "The settings kept in the registry, and your key maps."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
