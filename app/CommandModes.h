#pragma once
// Entry points of the program's modes, one source file each; main() parses the command
// line, applies the paths and calls one of them. Each returns the process exit status.
// Command-line modes must not need a display: a mode that needs Qt GUI classes creates
// its application object itself and picks the offscreen platform.
class CCommandLine;

int RunLunarToSolarMode(const CCommandLine& commandLine);
int RunImportMode(const CCommandLine& commandLine);
int RunExportMode(const CCommandLine& commandLine);
int RunExportSpecialDaysMode(const CCommandLine& commandLine);
int RunPrintWeekMode(const CCommandLine& commandLine);
int RunScreenshotMode(const CCommandLine& commandLine);
// Accounts and sync with calendar servers (ModeSync.cpp).
int RunAddAccountMode(const CCommandLine& commandLine);
int RunListAccountsMode();
int RunRemoveAccountMode(const CCommandLine& commandLine);
int RunSyncMode();
// Reminders (ModeReminders.cpp): ringing without the window, and what rings next.
int RunRemindersMode(const CCommandLine& commandLine, int argc, char** argv);
int RunNextRemindersMode(const CCommandLine& commandLine);
int RunGuiMode(const CCommandLine& commandLine, int argc, char** argv);
// Prints the product name and version from the executable's own version block.
int RunVersionMode();
