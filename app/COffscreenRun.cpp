#include "app/COffscreenRun.h"
#include "app/CCommandLine.h"
#include "app/CMainFrame.h"
#include "app/ModeDate.h"
#include <cstdio>

namespace {

constexpr int kStartupFailureStatus = 1;

}  // namespace

COffscreenRun::COffscreenRun() = default;

COffscreenRun::~COffscreenRun() = default;

int COffscreenRun::Start(const CCommandLine& commandLine, const char* pszDateOption, int nWidth, int nHeight)
{
    std::optional<DateTime> date;
    if (!ReadModeDate(commandLine, pszDateOption, &date))
        return CCommandLine::kUsageExitStatus;
    CAgendaApp::ChooseOffscreenPlatform();
    m_pApp = std::make_unique<CAgendaApp>(m_argc, m_argv);
    const int nFrameWidth = nWidth > 0 ? nWidth : kHandheldWidth;
    const int nFrameHeight = nHeight > 0 ? nHeight : kHandheldHeight;
    if (!m_pApp->InitOffscreen(nFrameWidth, nFrameHeight, date ? &*date : nullptr))
        return kStartupFailureStatus;
    // A week that could not be read whole is no week to print or picture.
    const QString strFailure = GetFrame()->GetLoadFailure();
    if (!strFailure.isEmpty()) {
        std::fprintf(stderr, "quillday: %s\n", strFailure.toLocal8Bit().constData());
        return kStartupFailureStatus;
    }
    return 0;
}

CMainFrame* COffscreenRun::GetFrame() const
{
    return m_pApp ? m_pApp->GetMainFrame() : nullptr;
}
