// --screenshot FILE.png [--date YYYY-MM-DD] [--size WxH]: the main window rendered
// offscreen after its first week load.
#include "app/CCommandLine.h"
#include "app/CMainFrame.h"
#include "app/COffscreenRun.h"
#include "app/CommandModes.h"
#include <QImage>
#include <cstdio>

namespace {

constexpr int kFailureStatus = 1;
constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 320;

}  // namespace

int RunScreenshotMode(const CCommandLine& commandLine)
{
    const int nWidth = commandLine.m_nWidth > 0 ? commandLine.m_nWidth : kDefaultWidth;
    const int nHeight = commandLine.m_nHeight > 0 ? commandLine.m_nHeight : kDefaultHeight;
    COffscreenRun run;
    const int nStatus = run.Start(commandLine, "--date", nWidth, nHeight);
    if (nStatus != 0)
        return nStatus;
    const QImage image = CAgendaApp::PaintOffscreen(run.GetFrame());
    if (!image.save(commandLine.m_strFile, "PNG")) {
        std::fprintf(stderr, "quillday: cannot write %s\n", commandLine.m_strFile.toLocal8Bit().constData());
        return kFailureStatus;
    }
    return 0;
}
