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
