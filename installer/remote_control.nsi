; The installer of Remote Control (NSIS 3, Unicode). The build runs makensis
; with these definitions (cmake/installer.cmake):
;   VERSION   the project version, 1.10.6.3
;   PROGRAM   RemoteControl.exe of the build
;   SOURCE    the source tree (LICENSE.txt, resources/ with the user's guide README.txt)
;   OUTFILE   the installer to write
;   TARGET    x86-unicode (the product); amd64-unicode for the 64-bit test
;             build, which is what 64-bit Wine can run
;
; It installs the program for every user: files in Program Files (the 32-bit
; one on 64-bit Windows), a Start-menu shortcut, start at logon, the settings
; key with its defaults where a value is missing, and its Programs and
; Features entry. It writes no user's profile: the program makes each user's
; key maps from applications.example.ini itself. Installing over an installed
; copy, and removing it, first end every running copy of the installed
; program, in every session. Silent switches: /S, and /D=FOLDER (last) for
; another folder.
;
; Exit codes: 0 done; 3010 (ERROR_SUCCESS_REBOOT_REQUIRED) done, but
; RemoteControl.exe was still in use and is replaced (or, uninstalling,
; removed with its folder) when Windows restarts; 740 not run as an
; administrator; 1 cancelled, 2 aborted.

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
; The installer's exit code when a file waits for the next restart.
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010
; PROCESSENTRY32W's size, which Process32FirstW checks.
!if "${TARGET}" == "amd64-unicode"
    !define PROCESSENTRY32_SIZE 568
!else
    !define PROCESSENTRY32_SIZE 556
!endif

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

; A copy of the program ran in the installer's own session when it began.
Var ProgramWasRunning

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

; EndProgram: ends every running copy of the installed program. A copy in
; the installer's own session (the one FindWindow sees) gets its tray menu's
; Exit, and $ProgramWasRunning is set; the installer waits up to 5 s for its
; window to go. Copies in other sessions (other users', or one that did not
; go) are ended by their process: they hold nothing unsaved. A file that is
; still held afterwards is dealt with by the caller (replaced or removed at
; the next restart).
!macro END_PROGRAM prefix
Function ${prefix}EndProgram
    Push $0
    Push $1
    Push $2
    StrCpy $1 0
    ${Do}
        FindWindow $0 "${WINDOW_CLASS}"
        ${If} $0 = 0
            ${Break}
        ${EndIf}
        ${If} $1 = 0
            DetailPrint "Ending the running ${PRODUCT}"
            StrCpy $ProgramWasRunning 1
        ${EndIf}
        ; Each copy gets the command once a second.
        IntOp $2 $1 % 10
        ${If} $2 = 0
            System::Call 'user32::PostMessage(p $0, i ${WM_COMMAND}, p ${CMD_EXIT}, p 0)'
        ${EndIf}
        ${If} $1 >= 50
            ${Break}
        ${EndIf}
        IntOp $1 $1 + 1
        Sleep 100
    ${Loop}
    Call ${prefix}EndProgramProcesses
    ; The process may still hold its file a moment after it has gone.
    StrCpy $1 0
    ${DoWhile} $1 < 20
        ${IfNot} ${FileExists} "$INSTDIR\${EXE}"
            ${Break}
        ${EndIf}
        ClearErrors
        FileOpen $2 "$INSTDIR\${EXE}" a
        ${IfNot} ${Errors}
            FileClose $2
            ${Break}
        ${EndIf}
        IntOp $1 $1 + 1
        Sleep 100
    ${Loop}
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; EndProgramProcesses: ends every process whose executable is
; $INSTDIR\RemoteControl.exe (never a copy of the program kept elsewhere),
; whoever runs it, and waits up to 5 s for each to end.
Function ${prefix}EndProgramProcesses
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    ; Other users' processes open only with the debug privilege, which an
    ; administrator holds but has not enabled.
    System::Call 'advapi32::OpenProcessToken(p -1, i 0x28, *p .r0) i .r1'
    ${If} $1 <> 0
        System::Call '*(i 0, i 0) p .r2'
        System::Call 'advapi32::LookupPrivilegeValueW(p 0, w "SeDebugPrivilege", p r2) i .r1'
        ${If} $1 <> 0
            System::Call '*$2(i .r3, i .r4)'
            System::Call '*(i 1, i r3, i r4, i 2) p .r5'
            System::Call 'advapi32::AdjustTokenPrivileges(p r0, i 0, p r5, i 0, p 0, p 0)'
            System::Free $5
        ${EndIf}
        System::Free $2
        System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}

    ; TH32CS_SNAPPROCESS
    System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .r0'
    ${If} $0 != -1
    ${AndIf} $0 != 0
        System::Alloc ${PROCESSENTRY32_SIZE}
        Pop $1
        System::Call '*$1(i ${PROCESSENTRY32_SIZE})'
        System::Call 'kernel32::Process32FirstW(p r0, p r1) i .r2'
        ${DoWhile} $2 <> 0
            System::Call '*$1(i, i, i .r3)'
            ; PROCESS_TERMINATE, PROCESS_QUERY_LIMITED_INFORMATION, SYNCHRONIZE
            System::Call 'kernel32::OpenProcess(i 0x101001, i 0, i r3) p .r4'
            ${If} $4 <> 0
                StrCpy $6 ${NSIS_MAX_STRLEN}
                System::Call 'kernel32::QueryFullProcessImageNameW(p r4, i 0, w .r5, *i r6 r6) i .r2'
                ; == compares without regard to case, as Windows paths do.
                ${If} $2 <> 0
                ${AndIf} $5 == "$INSTDIR\${EXE}"
                    DetailPrint "Ending ${PRODUCT} of another session (process $3)"
                    System::Call 'kernel32::TerminateProcess(p r4, i 0)'
                    System::Call 'kernel32::WaitForSingleObject(p r4, i 5000)'
                ${EndIf}
                System::Call 'kernel32::CloseHandle(p r4)'
            ${EndIf}
            System::Call 'kernel32::Process32NextW(p r0, p r1) i .r2'
        ${Loop}
        System::Free $1
        System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
    Pop $6
    Pop $5
    Pop $4
    Pop $3
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
    StrCpy $ProgramWasRunning 0
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
    SetOverwrite try
    ClearErrors
    File "${PROGRAM}"
    SetOverwrite on
    ${If} ${Errors}
        ; Still held: the new program waits beside it, and Windows puts it
        ; in place at the next restart.
        ClearErrors
        File "/oname=${EXE}.new" "${PROGRAM}"
        ${If} ${Errors}
            Abort "${EXE} could not be replaced."
        ${EndIf}
        Rename /REBOOTOK "$INSTDIR\${EXE}.new" "$INSTDIR\${EXE}"
    ${Else}
        ; One left by an earlier run must not replace this one at the restart.
        Delete "$INSTDIR\${EXE}.new"
    ${EndIf}
    File "${SOURCE}/resources/README.txt"
    File "${SOURCE}/LICENSE.txt"
    ; Examples of user key maps: each user's program makes its own copy.
    File /nonfatal "/oname=applications.example.ini" "${SOURCE}/resources/applications.ini"
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

    ; Said before the finish page, which then offers the restart (silent:
    ; the exit code only).
    ${If} ${RebootFlag}
        DetailPrint "${EXE} is replaced when Windows restarts"
        MessageBox MB_ICONINFORMATION "${EXE} is in use. The new ${PRODUCT} takes its place when \
Windows restarts." /SD IDOK
        SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
    ${EndIf}
SectionEnd

; A silent upgrade starts the program again when it ran in this session
; before (the finish page offers it otherwise).
Function .onInstSuccess
    ${If} ${Silent}
    ${AndIf} $ProgramWasRunning = 1
    ${AndIfNot} ${RebootFlag}
        Call StartProgram
    ${EndIf}
FunctionEnd

Function un.onInit
    StrCpy $ProgramWasRunning 0
FunctionEnd

Section "un.${PRODUCT}" UnSecProgram
    SectionIn RO
    Call un.EndProgram
    Delete /REBOOTOK "$INSTDIR\${EXE}"
    Delete "$INSTDIR\${EXE}.new"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\applications.example.ini"
    Delete "$INSTDIR\uninstall.exe"
    ; Kept when something else was put there (a tuner library, say); gone
    ; at the restart that removes a program still held.
    ${If} ${RebootFlag}
        RMDir /REBOOTOK "$INSTDIR"
    ${Else}
        RMDir "$INSTDIR"
    ${EndIf}

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

Function un.onUninstSuccess
    ${If} ${RebootFlag}
        MessageBox MB_ICONINFORMATION "${EXE} is in use. It is removed, with its folder, when \
Windows restarts." /SD IDOK
        SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
    ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} "The program, its shortcut, its start at logon."
    !insertmacro MUI_DESCRIPTION_TEXT ${UnSecSettings} "The settings kept in the registry, and your key maps."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
