// The main window's commands on a large store, with the week of 2015-06-01 shown: a week
// move by the next-week button until the new week is painted, and a task's completion
// toggled by a pen stroke until the reloaded week is painted (the store write, the
// store's change notification, the reload and the paint). The store is BenchStore's.
#include "BenchStore.h"
#include "app/CAgendaApp.h"
#include "app/CItemActions.h"
#include "app/CMainFrame.h"
#include "app/CMainView.h"
#include "app/MainCommands.h"
#include "controls/CBitmapButtonEx.h"
#include "week/CWeekPane.h"
#include <QElapsedTimer>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const DateTime kWeek(2015, 6, 1, 0, 0, 0);
constexpr int kReloadTimeoutMs = 10000;

BenchSetup& Setup()
{
    static BenchSetup setup;
    return setup;
}

// The frame on the store, 240 x 320, active and painted, showing the week of 2015-06-01.
std::unique_ptr<CMainFrame> StartFrame(benchmark::State& state)
{
    if (!Setup().bReady) {
        state.SkipWithError("the store could not be prepared");
        return nullptr;
    }
    UseBenchStore(Setup());
    auto pFrame = std::make_unique<CMainFrame>();
    if (!pFrame->Create()) {
        state.SkipWithError("the main frame could not start");
        return nullptr;
    }
    pFrame->resize(240, 320);
    pFrame->show();
    QApplication::setActiveWindow(pFrame.get());
    pFrame->GetView()->GetWeekPane()->SetWeek(kWeek);
    CAgendaApp::PaintOffscreen(pFrame.get());
    return pFrame;
}

void SendMouse(QWidget* pWidget, QEvent::Type type, QPoint pt)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pt, pWidget->mapToGlobal(pt), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}

// A left-to-right stroke of 60 pixels from the middle of the row (which must be
// visible), in 6-pixel moves.
void StrokeRight(CListCtrlEx* pList, int nRow)
{
    int y = 0;
    for (int r = pList->GetTopRow(); r < nRow; ++r)
        y += pList->GetRowHeight(r);
    const QPoint ptStart(10, y + pList->GetRowHeight(nRow) / 2);
    SendMouse(pList, QEvent::MouseButtonPress, ptStart);
    for (int dx = 6; dx <= 60; dx += 6)
        SendMouse(pList, QEvent::MouseMove, ptStart + QPoint(dx, 0));
    SendMouse(pList, QEvent::MouseButtonRelease, ptStart + QPoint(60, 0));
}

// The row of a task of the week (nOid 0: any task).
bool FindTaskRow(CWeekPane* pPane, int nOid, int* pDay, int* pRow)
{
    for (int nDay = 0; nDay < 7; ++nDay) {
        CListCtrlEx* pList = pPane->GetDayList(nDay);
        for (int nRow = 0; nRow < pList->GetItemCount(); ++nRow) {
            ListCell* pLabel = nullptr;
            pList->GetCell(nRow, 0, &pLabel);
            if (pLabel->nKind == kEntryKindTask && pLabel->nOid > 0 && (nOid == 0 || pLabel->nOid == nOid)) {
                *pDay = nDay;
                *pRow = nRow;
                return true;
            }
        }
    }
    return false;
}

void BM_NextWeekButton(benchmark::State& state)
{
    auto pFrame = StartFrame(state);
    if (!pFrame)
        return;
    CWeekPane* pPane = pFrame->GetView()->GetWeekPane();
    CBitmapButtonEx* pNext = pFrame->GetView()->GetButton(IDC_NEXT_WEEK);
    for (auto _ : state) {
        state.PauseTiming();
        pPane->SetWeek(kWeek);
        CAgendaApp::PaintOffscreen(pFrame.get());
        state.ResumeTiming();
        pNext->click();
        CAgendaApp::PaintOffscreen(pFrame.get());
    }
    if (pPane->GetWeekStart() != DateTime(2015, 6, 8, 0, 0, 0))
        state.SkipWithError("the button did not move the week");
}
BENCHMARK(BM_NextWeekButton)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_ToggleCompletionByStroke(benchmark::State& state)
{
    auto pFrame = StartFrame(state);
    if (!pFrame)
        return;
    CWeekPane* pPane = pFrame->GetView()->GetWeekPane();
    int nDay = -1, nRow = -1;
    if (!FindTaskRow(pPane, 0, &nDay, &nRow)) {
        state.SkipWithError("no task in the week");
        return;
    }
    ListCell* pLabel = nullptr;
    pPane->GetDayList(nDay)->GetCell(nRow, 0, &pLabel);
    const int nOid = pLabel->nOid;
    int nReloads = 0;
    for (auto _ : state) {
        // The task's row (tasks come last in a day) is scrolled into view first, untimed.
        state.PauseTiming();
        if (!FindTaskRow(pPane, nOid, &nDay, &nRow)) {
            state.SkipWithError("the task left the week");
            return;
        }
        CListCtrlEx* pList = pPane->GetDayList(nDay);
        pList->SetCurSel(nRow);
        pList->EnsureSelVisible();
        CAgendaApp::PaintOffscreen(pFrame.get());
        pList->GetCell(nRow, 0, &pLabel);
        pLabel->strExtra = QStringLiteral("before the stroke");  // a reload replaces the cell
        state.ResumeTiming();
        StrokeRight(pList, nRow);
        // The notification is queued; the week reloads when it arrives.
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            ListCell* pNow = nullptr;
            pList->GetCell(nRow, 0, &pNow);
            if (pNow == nullptr || pNow->strExtra != QStringLiteral("before the stroke"))
                break;
            if (waited.elapsed() > kReloadTimeoutMs) {
                state.SkipWithError("the stroke changed nothing");
                return;
            }
            QCoreApplication::processEvents();
        }
        ++nReloads;
        CAgendaApp::PaintOffscreen(pFrame.get());
    }
    state.counters["reloads"] = nReloads;
}
BENCHMARK(BM_ToggleCompletionByStroke)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv, &Setup());
}
