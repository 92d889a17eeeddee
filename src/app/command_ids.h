#pragma once

namespace halyx {

// Command ids of the menu, toolbar and accelerators. Users' macros and automation tools address
// the commands by these numbers, so they keep the values the radio tools have always used: the
// framework's standard ids where one exists, application ids from 32773 upward otherwise.
namespace cmd {
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSaveStandard = 57603;  // Ctrl+S: accepted and ignored
inline constexpr int kFilePrint = 57607;
inline constexpr int kFileSave = 32780;
inline constexpr int kAppExit = 57665;
inline constexpr int kAppAbout = 57664;
inline constexpr int kReadRadio = 32773;
inline constexpr int kWriteRadio = 32774;
inline constexpr int kTest = 32785;
inline constexpr int kPortSettings = 32775;
inline constexpr int kLanguageChinese = 32783;
inline constexpr int kLanguageEnglish = 32784;
// Channel interchange, appended after the last application id (32785, the test dialog).
inline constexpr int kImportCsv = 32786;
inline constexpr int kExportCsv = 32787;
inline constexpr int kExportPdf = 32788;
inline constexpr int kExportHtml = 32789;
inline constexpr int kCompareFile = 32790;
// The fleet station: many radios written at once, and the backups every read keeps.
inline constexpr int kFleetWrite = 32791;
inline constexpr int kOpenBackup = 32792;
// Why a radio cannot be reached: the port doctor's checks.
inline constexpr int kPortDoctor = 32793;
// The Edit menu's own commands and Print preview, from 32800 upward.
inline constexpr int kEditClear = 32800;
inline constexpr int kEditBulkSet = 32801;
inline constexpr int kFilePrintPreview = 32802;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
// Edit and pane accelerators. Undo and redo go to the main form; the others are bound so that
// they are swallowed, with no handler behind them.
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;  // the framework's standard redo id
inline constexpr int kEditCut = 57635;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditPaste = 57637;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;
// The status bar's idle-text request, posted after a language switch.
inline constexpr int kIdleMessage = 57345;
}  // namespace cmd

// Control ids shared by the small dialogs.
namespace ctrl {
inline constexpr int kOk = 1001;
inline constexpr int kCancel = 1002;
inline constexpr int kProgress = 1015;
}  // namespace ctrl

// Window ids of the main window's bars (the View menu items carry the same numbers).
inline constexpr int kToolBarId = 59392;
inline constexpr int kStatusBarId = 59393;

}  // namespace halyx
