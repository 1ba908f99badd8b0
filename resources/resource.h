// Resource identifiers of RemoteControl.exe.
#pragma once

#define IDI_REMOTE 50
#define IDI_SHUTDOWN 110
#define IDS_TITLE 22
#define IDS_CLASS 23
#define IDR_ACCELERATORS 23
#define IDD_SETTING 20
#define IDD_ABOUT 21
#define IDD_SHUTDOWN 107
#define IDC_APP_LIST 11
#define IDC_AUTO_LAUNCH 1007
// "Add a program" of the Key maps dialog: the list of other programs' windows.
#define IDD_PICK_PROGRAM 120
#define IDC_PROGRAM_LIST 1201

// Commands of the accelerators (the main window's About and Setting).
#define IDM_ABOUT 30
#define IDM_SETTING 32

// The MinGW headers do not define it.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
