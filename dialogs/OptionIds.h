#pragma once
// Control and command ids of the options and about sheets.
constexpr int IDC_OPTION_24HOUR = 1132;
constexpr int IDC_OPTION_MULTILINE = 1133;
constexpr int IDC_OPTION_BOLD_ALLDAYEVENT = 1134;
constexpr int IDC_OPTION_BOLD_IMPORTANTTASK = 1135;
constexpr int IDC_OPTION_SHOW_TASKSTART = 1136;
constexpr int IDC_OPTION_SHOW_COMPLETETASK = 1137;
constexpr int IDC_OPTION_NOTES_PENMODE = 1141;
constexpr int IDC_OPTION_USE_SOFTKEY = 1143;
constexpr int IDC_OPTION_LANGUAGE = 1171;

constexpr int IDC_ABOUT_MAKER_1 = 204;
constexpr int IDC_ABOUT_TITLE = 1142;
constexpr int IDC_ABOUT_MAKER_2 = 1144;
constexpr int IDC_ABOUT_ICON = 1145;
constexpr int IDC_ABOUT_VERSION = 1147;
constexpr int IDC_ABOUT_MAKER_3 = 1168;
constexpr int IDC_ABOUT_MAKER_4 = 1169;
constexpr int IDC_ABOUT_LICENCE = 1170;

// The sheets' tool-bar commands; 1 and 2 (Enter and Escape, and the soft keys) do the same.
constexpr int ID_SHEET_TOOL_OK = 1201;
constexpr int ID_SHEET_TOOL_CANCEL = 1202;

constexpr int IDB_PROGRAM_ICON = 128;
