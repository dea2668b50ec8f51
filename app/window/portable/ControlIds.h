#pragma once
// How the main window and its controls are found, and the numbers of the control properties that
// the rest of the program reads and writes. The control ids are the child windows' real ids: GetDlgItem and
// GetDlgCtrlID find every control by them, from this program and from outside tools alike.
// WM_COMMAND carries only the low 16 bits of an id, so the window routes notifications by the
// control's handle, never by LOWORD(wParam).

// The main window: its title, its window class (how outside tools find it) and its form id.
inline constexpr char kMainWindowTitle[] = "Entry Keeper";
inline constexpr char kMainWindowClass[] = "EntryKeeperMainWindow";
inline constexpr int kMainWindowFormId = 0x52010001;

inline constexpr int kStartButtonId = 0x16018600;
inline constexpr int kStopButtonId = 0x16018601;
inline constexpr int kRestoreButtonId = 0x1601866d;
inline constexpr int kFolderFieldId = 0x1601860b;
inline constexpr int kOptionButton1Id = 0x1601866b;
inline constexpr int kOptionButton2Id = 0x1601866a;
inline constexpr int kOptionButton3Id = 0x16018669;
inline constexpr int kLogBoxId = 0x160186a3;
// Nothing outside the window addresses the browse button; it only needs an id of its own.
inline constexpr int kBrowseButtonId = 0x160186f0;

// Property numbers for ReadControlProperty / WriteControlProperty (ControlAccess.h).
// Disabled: 1 = disabled, 0 = enabled. Any control; the buttons use it.
inline constexpr int kPropDisabled = 6;
// The whole text content (a Text). Any control; FolderField and LogBox use it.
inline constexpr int kPropText = 8;
// Selected: 1 = selected, 0 = not. Radio buttons and check boxes.
inline constexpr int kPropSelected = 0x12;
// Selection start of an edit box; writing -1 puts the caret after the last character.
inline constexpr int kPropSelectionStart = 0x18;

// The element index that addresses a property as a whole (the only index these controls have).
inline constexpr int kWholeProperty = -1;
