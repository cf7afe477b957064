// --print-week [YYYY-MM-DD] [--json]: the start-up of the window, offscreen, then the
// seven day lists of the week as text or JSON on standard output.
#include "app/CCommandLine.h"
#include "app/CMainFrame.h"
#include "app/CMainView.h"
#include "app/COffscreenRun.h"
#include "app/CWeekPrinter.h"
#include "app/CommandModes.h"
#include "pim/IPOutlookApp.h"
#include "week/CWeekPane.h"
#include <cstdio>

namespace {

constexpr int kOutputFailureStatus = 1;

}  // namespace

int RunPrintWeekMode(const CCommandLine& commandLine)
{
    COffscreenRun run;
    const int nStatus = run.Start(commandLine, "--print-week");
    if (nStatus != 0)
        return nStatus;
    CMainFrame* pFrame = run.GetFrame();
    if (pFrame->GetOutlookApp()->IsReadOnly())
        std::fprintf(stderr, "quillday: the store %s is open for reading only: %s\n",
                     pFrame->GetOutlookApp()->GetStorePath().toLocal8Bit().constData(),
                     pFrame->GetOutlookApp()->GetReadOnlyReason().toLocal8Bit().constData());
    const CWeekPrinter printer(pFrame->GetView()->GetWeekPane(), pFrame->GetToday());
    const QByteArray out = commandLine.m_bJson ? printer.ToJson() : printer.ToText().toUtf8();
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : kOutputFailureStatus;
}
