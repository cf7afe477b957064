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

}  // namespace

int RunScreenshotMode(const CCommandLine& commandLine)
{
    COffscreenRun run;
    const int nStatus = run.Start(commandLine, "--date", commandLine.m_nWidth, commandLine.m_nHeight);
    if (nStatus != 0)
        return nStatus;
    const QImage image = CAgendaApp::PaintOffscreen(run.GetFrame());
    if (!image.save(commandLine.m_strFile, "PNG")) {
        std::fprintf(stderr, "quillday: cannot write %s\n", commandLine.m_strFile.toLocal8Bit().constData());
        return kFailureStatus;
    }
    return 0;
}
