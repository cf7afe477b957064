// --print-week [YYYY-MM-DD] [--json]: the start-up of the window, offscreen, then the
// seven day lists of the week as text or JSON on standard output.
#include "app/CAgendaApp.h"
#include "app/CCommandLine.h"
#include "app/CMainFrame.h"
#include "app/CMainView.h"
#include "app/CWeekPrinter.h"
#include "app/CommandModes.h"
#include "week/CWeekPane.h"
#include <cstdio>

namespace {

constexpr int kStartupFailureStatus = 1;
constexpr int kPrintWidth = 240;
constexpr int kPrintHeight = 320;

}  // namespace

int RunPrintWeekMode(const CCommandLine& commandLine)
{
    DateTime date;
    const bool bDate = !commandLine.m_strDate.isEmpty();
    if (bDate && !ParseWeekDate(commandLine.m_strDate, &date)) {
        std::fprintf(stderr, "quillday: --print-week: %s is outside the dates the program can show\n",
                     commandLine.m_strDate.toLocal8Bit().constData());
        return CCommandLine::kUsageExitStatus;
    }
    CAgendaApp::ChooseOffscreenPlatform();
    int argc = 1;
    char szName[] = "quillday";
    char* argv[] = {szName, nullptr};
    CAgendaApp app(argc, argv);
    if (!app.InitOffscreen(kPrintWidth, kPrintHeight, bDate ? &date : nullptr))
        return kStartupFailureStatus;
    CMainFrame* pFrame = app.GetMainFrame();
    const CWeekPrinter printer(pFrame->GetView()->GetWeekPane(), pFrame->GetToday());
    const QByteArray out = commandLine.m_bJson ? printer.ToJson() : printer.ToText().toUtf8();
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : kStartupFailureStatus;
}
