#pragma once
// Command ids of the main view's buttons and menus.
constexpr int IDC_PREV_MONTH = 1206;
constexpr int IDC_NEXT_MONTH = 1207;
constexpr int IDC_PREV_WEEK = 1204;
constexpr int IDC_NEXT_WEEK = 1205;
constexpr int IDC_POPUP_MENU = 1208;
constexpr int IDC_WEEKPANE = 1201;
constexpr int ID_GOTO_TODAY = 32781;
constexpr int ID_NEW_APPOINTMENT = 32778;
constexpr int ID_NEW_TASK = 32779;
constexpr int ID_DELETE_ITEM = 32782;
constexpr int ID_OPTIONS = 32783;
constexpr int ID_STROKE_HELP = 32784;
constexpr int ID_UNDO = 32785;
constexpr int ID_SYNC_NOW = 32786;
constexpr int ID_SPECIAL_DAYS = 32787;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
