#pragma once
// The start of the command-line modes that show the week: the date of the command line,
// the application object on the offscreen platform, and the main frame started and
// painted once, so that the week is loaded. Exit statuses: 0 started, 1 a data source
// failed (its box went to standard error) or the week could not be read from the store
// (the reason went there too), 2 a date the program cannot show.
#include "app/CAgendaApp.h"
#include <memory>

class CCommandLine;
class CMainFrame;

class COffscreenRun {
public:
    COffscreenRun();
    ~COffscreenRun();

    // A width or height of 0 gives the handheld's 240 x 320.
    int Start(const CCommandLine& commandLine, const char* pszDateOption, int nWidth = 0, int nHeight = 0);
    CMainFrame* GetFrame() const;

private:
    int m_argc = 1;
    char m_szName[9] = "quillday";
    char* m_argv[2] = {m_szName, nullptr};
    std::unique_ptr<CAgendaApp> m_pApp;
};
