// --screenshot FILE.png [--date YYYY-MM-DD] [--size WxH]: the main window rendered
// offscreen after its first week load.
#include "app/CAgendaApp.h"
#include "app/CCommandLine.h"
#include "app/CMainFrame.h"
#include "app/CommandModes.h"
#include <QImage>
#include <QPixmap>
#include <cstdio>

namespace {

constexpr int kFailureStatus = 1;
constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 320;

}  // namespace

int RunScreenshotMode(const CCommandLine& commandLine)
{
    DateTime date;
    const bool bDate = !commandLine.m_strDate.isEmpty();
    if (bDate && !ParseWeekDate(commandLine.m_strDate, &date)) {
        std::fprintf(stderr, "quillday: --date: %s is outside the dates the program can show\n",
                     commandLine.m_strDate.toLocal8Bit().constData());
        return CCommandLine::kUsageExitStatus;
    }
    CAgendaApp::ChooseOffscreenPlatform();
    int argc = 1;
    char szName[] = "quillday";
    char* argv[] = {szName, nullptr};
    CAgendaApp app(argc, argv);
    const int nWidth = commandLine.m_nWidth > 0 ? commandLine.m_nWidth : kDefaultWidth;
    const int nHeight = commandLine.m_nHeight > 0 ? commandLine.m_nHeight : kDefaultHeight;
    if (!app.InitOffscreen(nWidth, nHeight, bDate ? &date : nullptr))
        return kFailureStatus;
    const QImage image = CAgendaApp::PaintOffscreen(app.GetMainFrame());
    if (!image.save(commandLine.m_strFile, "PNG")) {
        std::fprintf(stderr, "quillday: cannot write %s\n", commandLine.m_strFile.toLocal8Bit().constData());
        return kFailureStatus;
    }
    return 0;
}
