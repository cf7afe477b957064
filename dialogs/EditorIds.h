#pragma once
// Control and command ids of the appointment and task editors.
constexpr int IDC_SUBJECT = 1000;
constexpr int IDC_LOCATION = 1001;
constexpr int IDC_ALLDAY = 1002;
constexpr int IDC_START_DATE = 1006;
constexpr int IDC_END_DATE = 1007;  // the task's due date
constexpr int IDC_START_TIME = 1012;
constexpr int IDC_END_TIME = 1014;
constexpr int IDC_SUBJECT_LABEL = 1016;
constexpr int IDC_LOCATION_LABEL = 1017;
constexpr int IDC_START_LABEL = 1023;
constexpr int IDC_END_LABEL = 1024;
constexpr int IDC_HAS_START = 1058;
constexpr int IDC_HAS_DUE = 1059;
constexpr int IDC_PRIORITY_LABEL = 1063;
constexpr int IDC_PRIORITY_HIGH = 1123;
constexpr int IDC_PRIORITY_NORMAL = 1124;
constexpr int IDC_PRIORITY_LOW = 1125;
constexpr int IDC_COMPLETE = 1126;
constexpr int IDC_NOTES_PREVIEW = 1205;

// Commands (1 and 2 are also what Enter and Escape send).
constexpr int ID_EDITOR_SAVE = 1;
constexpr int ID_EDITOR_CANCEL = 2;
constexpr int ID_EDIT_NOTES = 32793;
constexpr int ID_EDIT_DETAIL = 32794;

// Results of the editors' modal run besides IDOK (1) and IDCANCEL (2): saved, and the
// caller is to open the store's detail form.
constexpr int ID_EDITOR_RESULT_DETAIL = 4;

// The tool bar's pictures and the soft-key menu of both editors.
constexpr int IDB_DIALOG_TOOLBAR = 219;
constexpr int IDR_EDITOR_SOFTKEY_MENU = 235;
