// Windows constants for the code above the platform seam. They carry the
// Windows values under names of our own, because the code that includes
// <windows.h> (which defines the originals as macros) never includes this.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace rc::win {

// Messages
constexpr std::uint32_t kWmNull = 0x0000;
constexpr std::uint32_t kWmCreate = 0x0001;
constexpr std::uint32_t kWmDestroy = 0x0002;
constexpr std::uint32_t kWmClose = 0x0010;
constexpr std::uint32_t kWmDisplayChange = 0x007E;
constexpr std::uint32_t kWmKeyDown = 0x0100;
constexpr std::uint32_t kWmKeyUp = 0x0101;
constexpr std::uint32_t kWmInitDialog = 0x0110;
constexpr std::uint32_t kWmCommand = 0x0111;
constexpr std::uint32_t kWmTimer = 0x0113;
constexpr std::uint32_t kWmMouseMove = 0x0200;
constexpr std::uint32_t kWmLButtonDown = 0x0201;
constexpr std::uint32_t kWmLButtonUp = 0x0202;
constexpr std::uint32_t kWmRButtonDown = 0x0204;
constexpr std::uint32_t kWmRButtonUp = 0x0205;
constexpr std::uint32_t kWmPowerBroadcast = 0x0218;
constexpr std::uint32_t kWmWtsSessionChange = 0x02B1;
constexpr std::uint32_t kWmAppCommand = 0x0319;
constexpr std::uint32_t kWmUser = 0x0400;
constexpr std::uint32_t kWmApp = 0x8000;

// Combo box and button messages
constexpr std::uint32_t kCbAddString = 0x0143;
constexpr std::uint32_t kCbGetCurSel = 0x0147;
constexpr std::uint32_t kCbGetLbText = 0x0148;
constexpr std::uint32_t kCbGetLbTextLen = 0x0149;
constexpr std::uint32_t kCbResetContent = 0x014B;
constexpr std::uint32_t kCbSetCurSel = 0x014E;
constexpr std::uint32_t kCbGetCount = 0x0146;
constexpr std::intptr_t kCbErr = -1;
constexpr std::uint32_t kBmGetCheck = 0x00F0;
constexpr std::uint32_t kBmSetCheck = 0x00F1;
constexpr std::uint32_t kBmClick = 0x00F5;
constexpr std::uintptr_t kBstUnchecked = 0;
constexpr std::uintptr_t kBstChecked = 1;

// Dialog results and ids
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// Virtual keys
constexpr std::uint8_t kVkBack = 0x08;
constexpr std::uint8_t kVkReturn = 0x0D;
constexpr std::uint8_t kVkShift = 0x10;
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkMenu = 0x12;
constexpr std::uint8_t kVkEscape = 0x1B;
constexpr std::uint8_t kVkSpace = 0x20;
constexpr std::uint8_t kVkPrior = 0x21;
constexpr std::uint8_t kVkNext = 0x22;
constexpr std::uint8_t kVkEnd = 0x23;
constexpr std::uint8_t kVkHome = 0x24;
constexpr std::uint8_t kVkLeft = 0x25;
constexpr std::uint8_t kVkUp = 0x26;
constexpr std::uint8_t kVkRight = 0x27;
constexpr std::uint8_t kVkDown = 0x28;
constexpr std::uint8_t kVkDelete = 0x2E;
constexpr std::uint8_t kVkLWin = 0x5B;
constexpr std::uint8_t kVkNumpad0 = 0x60;
constexpr std::uint8_t kVkAdd = 0x6B;
constexpr std::uint8_t kVkSubtract = 0x6D;
constexpr std::uint8_t kVkF1 = 0x70;
constexpr std::uint8_t kVkF2 = 0x71;
constexpr std::uint8_t kVkF4 = 0x73;
constexpr std::uint8_t kVkF5 = 0x74;
constexpr std::uint8_t kVkF6 = 0x75;
constexpr std::uint8_t kVkF8 = 0x77;
constexpr std::uint8_t kVkF9 = 0x78;
constexpr std::uint8_t kVkF10 = 0x79;
constexpr std::uint8_t kVkF11 = 0x7A;
constexpr std::uint8_t kVkF12 = 0x7B;

// MapVirtualKeyA
constexpr std::uint32_t kMapVkVkToVsc = 0;

// keybd_event flags
constexpr std::uint32_t kKeyEventExtendedKey = 0x0001;
constexpr std::uint32_t kKeyEventKeyUp = 0x0002;

// mouse_event flags
constexpr std::uint32_t kMouseEventLeftDown = 0x0002;
constexpr std::uint32_t kMouseEventLeftUp = 0x0004;
constexpr std::uint32_t kMouseEventRightDown = 0x0008;
constexpr std::uint32_t kMouseEventRightUp = 0x0010;

// GetSystemMetrics
constexpr int kSmCxScreen = 0;
constexpr int kSmCyScreen = 1;
constexpr int kSmCxFullScreen = 16;
constexpr int kSmCyFullScreen = 17;
constexpr int kSmSwapButton = 23;
constexpr int kSmRemoteSession = 0x1000;

// GetWindow
constexpr std::uint32_t kGwHwndNext = 2;
constexpr std::uint32_t kGwChild = 5;

// ShowWindow
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShowNoActivate = 4;
constexpr int kSwShow = 5;
constexpr int kSwShowNa = 8;

// SetWindowPos
constexpr Hwnd kHwndTopmost = static_cast<Hwnd>(-1);
constexpr std::uint32_t kSwpNoSize = 0x0001;
constexpr std::uint32_t kSwpNoActivate = 0x0010;

// Extended window styles and layered windows
constexpr std::uint32_t kWsExTopmost = 0x00000008;
constexpr std::uint32_t kWsExTransparent = 0x00000020;
constexpr std::uint32_t kWsExToolWindow = 0x00000080;
constexpr std::uint32_t kWsExLayered = 0x00080000;
constexpr std::uint32_t kWsExNoActivate = 0x08000000;
constexpr std::uint32_t kLwaAlpha = 0x00000002;

// Tray icon
constexpr std::uint32_t kNimAdd = 0;
constexpr std::uint32_t kNimModify = 1;
constexpr std::uint32_t kNimDelete = 2;
constexpr std::uint32_t kNifMessage = 1;
constexpr std::uint32_t kNifIcon = 2;
constexpr std::uint32_t kNifTip = 4;

// Menus
constexpr std::uint32_t kMfString = 0x0000;
constexpr std::uint32_t kMfChecked = 0x0008;
constexpr std::uint32_t kMfSeparator = 0x0800;

// Message boxes
constexpr std::uint32_t kMbOk = 0x0000;
constexpr std::uint32_t kMbSetForeground = 0x00010000;

// Shutdown
constexpr std::uint32_t kEwxShutdown = 0x0001;
constexpr std::uint32_t kEwxPowerOff = 0x0008;
constexpr std::uint32_t kEwxForce = 0x0004;
constexpr std::uint32_t kEwxForceIfHung = 0x0010;
constexpr std::uint32_t kVerPlatformWin32Windows = 1;
constexpr std::uint32_t kVerPlatformWin32Nt = 2;

// Folders and files
constexpr int kCsidlAppData = 0x001A;
constexpr std::size_t kMaxPath = 260;
constexpr std::uint32_t kCpAcp = 0;  // the system's ANSI code page
constexpr std::uint32_t kFileAttributeDirectory = 0x10;
constexpr std::uint32_t kFileAttributeArchive = 0x20;
constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

// Registry
constexpr Handle kHkeyCurrentUser = 0x80000001u;
constexpr Handle kHkeyLocalMachine = 0x80000002u;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorPathNotFound = 3;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorSharingViolation = 32;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

// Libraries and the message filter
constexpr std::uint32_t kLoadLibrarySearchDefaultDirs = 0x1000;
constexpr std::uint32_t kMsgFltAllow = 1;

// Power and sessions
constexpr std::uintptr_t kPbtApmSuspend = 4;
constexpr std::uintptr_t kPbtApmResumeSuspend = 7;
constexpr std::uintptr_t kPbtApmResumeAutomatic = 18;
constexpr std::intptr_t kBroadcastQueryGranted = 1;  // TRUE: what WM_POWERBROADCAST answers
constexpr std::uint32_t kNotifyForThisSession = 0;
constexpr std::uintptr_t kWtsConsoleConnect = 1;
constexpr std::uintptr_t kWtsConsoleDisconnect = 2;
constexpr std::uintptr_t kWtsRemoteConnect = 3;
constexpr std::uintptr_t kWtsRemoteDisconnect = 4;
constexpr std::uint32_t kNoConsoleSession = 0xFFFFFFFFu;

// COM
constexpr long kSOk = 0;
constexpr long kSFalse = 1;

// Setup and HID
constexpr std::uint32_t kDigcfPresent = 0x02;
constexpr std::uint32_t kDigcfDeviceInterface = 0x10;
constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kGenericWrite = 0x40000000u;
constexpr std::uint32_t kOpenExisting = 3;
constexpr long kHidpStatusSuccess = 0x00110000;

// Windows of the program's own classes and their controls
constexpr std::uint32_t kWmSize = 0x0005;
constexpr std::uint32_t kWmSetFont = 0x0030;
constexpr std::uint32_t kWmSetFocus = 0x0007;
constexpr std::uint32_t kWmGetMinMaxInfo = 0x0024;
constexpr std::uint32_t kWsOverlappedWindow = 0x00CF0000u;
constexpr std::uint32_t kWsChild = 0x40000000u;
constexpr std::uint32_t kWsVisible = 0x10000000u;
constexpr std::uint32_t kWsTabStop = 0x00010000u;
constexpr std::uint32_t kWsVScroll = 0x00200000u;
constexpr std::uint32_t kWsExClientEdge = 0x00000200u;
constexpr std::uint32_t kWsExControlParent = 0x00010000u;
constexpr int kCwUseDefault = static_cast<int>(0x80000000u);
constexpr std::uint32_t kSwpNoMove = 0x0002;
constexpr std::uint32_t kSwpNoZOrder = 0x0004;
constexpr int kSwRestore = 9;
constexpr std::uint32_t kEsMultiline = 0x0004;
constexpr std::uint32_t kEsAutoVScroll = 0x0040;
constexpr std::uint32_t kEsReadOnly = 0x0800;
constexpr std::uint32_t kBsPushButton = 0x0000;
constexpr std::uint32_t kIccListViewClasses = 0x0001;
constexpr std::uint32_t kLvsReport = 0x0001;
constexpr std::uint32_t kLvsShowSelAlways = 0x0008;
constexpr std::uint32_t kLvsNoSortHeader = 0x8000;
constexpr std::uint32_t kLvmGetItemCount = 0x1004;
constexpr std::uint32_t kLvmDeleteItem = 0x1008;
constexpr std::uint32_t kLvmEnsureVisible = 0x1013;
constexpr std::uint32_t kLvmSetExtendedListViewStyle = 0x1036;
constexpr std::uint32_t kLvsExFullRowSelect = 0x0020;
constexpr std::uint32_t kLvsExDoubleBuffer = 0x00010000u;
constexpr std::uint32_t kMbIconWarning = 0x0030;
constexpr std::uint32_t kMbIconInformation = 0x0040;

// The Key maps dialog's controls and boxes
constexpr std::uint32_t kGwOwner = 4;
constexpr std::uint32_t kEsAutoHScroll = 0x0080;
constexpr std::uint32_t kEsNumber = 0x2000;
constexpr std::uint32_t kBsAutoCheckBox = 0x0003;
constexpr std::uint32_t kBsDefPushButton = 0x0001;
constexpr std::uint32_t kCbsDropDownList = 0x0003;
constexpr std::uint32_t kLbsNotify = 0x0001;
constexpr std::uint32_t kLbsNoIntegralHeight = 0x0100;
constexpr std::uint32_t kLvsSingleSel = 0x0004;
constexpr std::uint32_t kIccHotkeyClass = 0x0040;
constexpr std::uint32_t kLbAddString = 0x0180;
constexpr std::uint32_t kLbResetContent = 0x0184;
constexpr std::uint32_t kLbSetCurSel = 0x0186;
constexpr std::uint32_t kLbGetCurSel = 0x0188;
constexpr std::uint32_t kLbGetCount = 0x018B;
constexpr std::uint32_t kLvmDeleteAllItems = 0x1009;
constexpr std::uint32_t kLvmSetColumnWidth = 0x101E;
constexpr int kSmCxVScroll = 2;
constexpr std::uint32_t kHkmSetHotkey = 0x0401;
constexpr std::uint32_t kHkmGetHotkey = 0x0402;
constexpr std::uint32_t kHotkeyfShift = 0x01;
constexpr std::uint32_t kHotkeyfControl = 0x02;
constexpr std::uint32_t kHotkeyfAlt = 0x04;
constexpr std::uint32_t kHotkeyfExt = 0x08;
// Notification codes in WM_COMMAND's high word
constexpr std::uint32_t kBnClicked = 0;
constexpr std::uint32_t kLbnSelChange = 1;
constexpr std::uint32_t kCbnSelChange = 1;
constexpr std::uint32_t kEnChange = 0x0300;
constexpr std::uint32_t kEnKillFocus = 0x0200;
constexpr std::uint32_t kMbYesNo = 0x0004;
constexpr std::uint32_t kMbYesNoCancel = 0x0003;
constexpr std::uint32_t kMbIconQuestion = 0x0020;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
// Other programs' windows, picking a program
constexpr int kGwlStyle = -16;
constexpr int kGwlExStyle = -20;
constexpr std::uint32_t kWsExAppWindow = 0x00040000u;
constexpr int kSmCxSmIcon = 49;
constexpr int kSmCySmIcon = 50;
constexpr std::uint32_t kWmNotify = 0x004E;
constexpr std::uint32_t kWmNextDlgCtl = 0x0028;
constexpr std::uint32_t kEmSetSel = 0x00B1;
constexpr std::uint32_t kEmLimitText = 0x00C5;
constexpr std::uint32_t kLvnItemActivate = static_cast<std::uint32_t>(-114);
constexpr std::uint32_t kLvmSetImageList = 0x1003;
constexpr std::uint32_t kLvmGetNextItem = 0x100C;
constexpr std::uintptr_t kLvsilSmall = 1;
constexpr std::uintptr_t kLvniSelected = 0x0002;
constexpr std::uint32_t kIlcMask = 0x0001;
constexpr std::uint32_t kIlcColor32 = 0x0020;
constexpr std::uint32_t kOfnHideReadOnly = 0x00000004u;
constexpr std::uint32_t kOfnNoChangeDir = 0x00000008u;
constexpr std::uint32_t kOfnPathMustExist = 0x00000800u;
constexpr std::uint32_t kOfnFileMustExist = 0x00001000u;
constexpr std::uint32_t kOfnExplorer = 0x00080000u;
constexpr std::uint32_t kOfnDontAddToRecent = 0x02000000u;

}  // namespace rc::win
