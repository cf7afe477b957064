// Layout pass and one paint of a day list of 50 rows, single-line and word-wrapped.
#include "controls/CListCtrlEx.h"
#include "platform/FontSubstitution.h"
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kRows = 50;
constexpr int kWidth = 160;
constexpr int kHeight = 200;

const char* const kTexts[] = {
    "09:00 Team standup in the small meeting room",
    "12:30 Lunch with Minji at the noodle place near the station",
    "Send the quarterly report to finance",
    "\xEC\x9D\xB4\xEB\xB2\x88 \xEC\xA3\xBC \xED\x9A\x8C\xEC\x9D\x98 \xEC\xA4\x80\xEB\xB9\x84",  // Korean
    "Renew passport before the summer holidays",
    "Call parents",
};
const char* const kTags[] = {"(E)", "(T2)", "(T1)", "(T0)", "<<", "(FT1)"};

void FillList(CListCtrlEx* pList)
{
    pList->DeleteAllItems();
    for (int i = 0; i < kRows; ++i) {
        pList->AddRow(QString::fromLatin1(kTags[i % 6]), QString::fromUtf8(kTexts[i % 6]));
        ListCell* pCell = nullptr;
        pList->GetCell(i, 1, &pCell);
        pCell->nIconFlags = i % 8;
        pCell->bBold = i % 5 == 0;
    }
}

std::unique_ptr<CListCtrlEx> MakeList(BOOL bMultiline)
{
    auto pList = std::make_unique<CListCtrlEx>();
    pList->resize(kWidth, kHeight);
    pList->SetFonts(QStringLiteral("mirafon"), 10, QStringLiteral("mirafon"), 10);
    pList->SetColumnCount(2);
    pList->SetMultiline(bMultiline, FALSE);
    return pList;
}

void BM_LayoutPass(benchmark::State& state)
{
    auto pList = MakeList(static_cast<BOOL>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        FillList(pList.get());  // every new row is dirty
        state.ResumeTiming();
        pList->LayoutDirtyRows();
    }
    state.SetLabel(state.range(0) != 0 ? "multi-line" : "single-line");
}

void BM_Paint(benchmark::State& state)
{
    auto pList = MakeList(static_cast<BOOL>(state.range(0)));
    FillList(pList.get());
    pList->LayoutDirtyRows();
    for (auto _ : state) {
        // As the paint handler: a buffer of the client size, painted whole.
        QImage buffer(pList->size(), QImage::Format_RGB32);
        QPainter painter(&buffer);
        pList->PaintTo(&painter);
        painter.end();
        benchmark::DoNotOptimize(buffer.constBits());
    }
    state.SetLabel(state.range(0) != 0 ? "multi-line" : "single-line");
}

}  // namespace

BENCHMARK(BM_LayoutPass)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
