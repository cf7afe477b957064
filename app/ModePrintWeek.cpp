// --print-week [YYYY-MM-DD] [--json]: the start-up of the window without any window (the
// same data sources in the same order, the same failures), then the week loaded as the
// pane loads it and its seven day lists written as text or JSON on standard output.
#include "app/CCommandLine.h"
#include "app/CommandModes.h"
#include "app/ModeDate.h"
#include "pim/IPOutlookApp.h"
#include "week/CWeekListing.h"
#include "week/CWeekSources.h"
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kFailureStatus = 1;

}  // namespace

int RunPrintWeekMode(const CCommandLine& commandLine)
{
    std::optional<DateTime> date;
    if (!ReadModeDate(commandLine, "--print-week", &date))
        return CCommandLine::kUsageExitStatus;
    CWeekSources sources;
    if (!sources.OpenSources())
        return kFailureStatus;
    const IPOutlookApp* pApp = sources.GetOutlookApp();
    if (pApp->IsReadOnly())
        std::fprintf(stderr, "quillday: the store %s is open for reading only: %s\n",
                     pApp->GetStorePath().toLocal8Bit().constData(),
                     pApp->GetReadOnlyReason().toLocal8Bit().constData());
    if (date)
        sources.SetCurrentDate(*date);
    const WeekRange week = WeekRangeOf(sources.GetCurrentDate());
    CWeekListing listing(week, sources.GetToday(), sources);
    QString strFailure;
    if (!listing.Load(&sources, &strFailure)) {
        std::fprintf(stderr, "quillday: %s\n", strFailure.toLocal8Bit().constData());
        return kFailureStatus;
    }
    if (commandLine.m_bJson ? listing.WriteJson(stdout) : listing.WriteText(stdout))
        return 0;
    std::fprintf(stderr, "quillday: cannot write the week: %s\n", std::strerror(errno));
    return kFailureStatus;
}
