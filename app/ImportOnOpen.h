#pragma once
// An iCalendar file handed to the program (a file manager's "open with"): the person is
// asked first, then the file's appointments and tasks are added to the store.
#include "platform/WinTypes.h"
#include <QString>

class IPOutlookApp;
class StringTable;

// Asks (Yes/No, with the file's name) whether to import the file into the store of pApp;
// on Yes imports it and tells in a box of a failure, or of what the import left out. TRUE
// when the file was imported.
BOOL AskAndImportFile(const QString& strPath, const StringTable& strings, IPOutlookApp* pApp);
