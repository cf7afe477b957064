// The options sheet: its pages and labels, its two command areas, and what Save and
// Cancel do to the settings record and the registry file.
#include "SheetFixture.h"
#include "dialogs/COptionApptPage.h"
#include "dialogs/COptionCommonPage.h"
#include "dialogs/COptionDlg.h"
#include "dialogs/COptionTaskPage.h"
#include "dialogs/OptionIds.h"
#include "platform/CRegistry.h"
#include <QCheckBox>
#include <QTabBar>
#include <QTabWidget>
#include "dialogs/CDialogToolBar.h"
#include <QToolButton>
#include <QtTest>

namespace {

// The eight values, each set to the opposite of its default, plus a hand-edited font.
const QByteArray kAllChanged = "\"FontSize\"=dword:0000000c\n"
                               "\"24hour\"=dword:00000001\n"
                               "\"Multiline\"=dword:00000001\n"
                               "\"NotesPenDefault\"=dword:00000000\n"
                               "\"UseSoftKey\"=dword:00000000\n"
                               "\"BoldAllDayEvent\"=dword:00000001\n"
                               "\"BoldImportantTask\"=dword:00000001\n"
                               "\"ShowTaskStart\"=dword:00000001\n"
                               "\"ShowCompleteTask\"=dword:00000000\n";

const char* const kValueNames[] = {"24hour",          "Multiline",         "NotesPenDefault", "UseSoftKey",
                                   "BoldAllDayEvent", "BoldImportantTask", "ShowTaskStart",   "ShowCompleteTask"};

DWORD Stored(const char* pszName, DWORD dwMissing = 0xDEAD)
{
    return CRegistry().ReadDWORD(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Quillday"), QString::fromLatin1(pszName),
                                 dwMissing);
}

QCheckBox* Check(COptionDlg* pDlg, int nPage, int nId)
{
    pDlg->SetActivePage(nPage);
    return qobject_cast<QCheckBox*>(pDlg->GetPage(nPage)->GetDlgItem(nId));
}

// A tap on the box itself (the check box's widget is as wide as the page, its text shorter).
void Tap(QCheckBox* pCheck)
{
    QTest::mouseClick(pCheck, Qt::LeftButton, {}, QPoint(6, pCheck->height() / 2));
}

// The order in which the value names stand in the registry file.
QStringList ValueOrder(const QByteArray& text)
{
    QStringList names;
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith('"'))
            names.append(QString::fromLatin1(line.mid(1, line.indexOf('"', 1) - 1)));
    }
    return names;
}

enum class Way { Command, Key, ToolButton, SoftKey, CloseWindow };

void Send(COptionDlg* pDlg, Way way, int nCommand)
{
    switch (way) {
    case Way::Command:
        pDlg->OnCommand(nCommand);
        break;
    case Way::Key:
        QTest::keyClick(pDlg, nCommand == 1 ? Qt::Key_Return : Qt::Key_Escape);
        break;
    case Way::ToolButton:
    case Way::SoftKey:
        QTest::mouseClick(pDlg->GetCommandButton(nCommand), Qt::LeftButton);
        break;
    case Way::CloseWindow:
        pDlg->close();
        break;
    }
}

}  // namespace

class TestOptionDlg : public QObject {
    Q_OBJECT
private slots:
    void pagesTabsAndLabels();
    void pagesStartFromTheRecord();
    void toolBarOrSoftKeys_data();
    void toolBarOrSoftKeys();
    void savingAtOnceWritesAllEightValues_data();
    void savingAtOnceWritesAllEightValues();
    void changeOnTaskPageSurvivesPageSwitch();
    void cancelLeavesRecordAndRegistryAlone_data();
    void cancelLeavesRecordAndRegistryAlone();
    void softKeyChoiceGoesToTheRegistryOnly();
    void sheetCoversTheMainWindowWithTheBarInFront();
    void screenshots_data();
    void screenshots();
};

void TestOptionDlg::pagesTabsAndLabels()
{
    CSheetFixture fx;
    AgendaSettings settings = fx.LoadSettings();
    COptionDlg dlg(QStringLiteral("옵션"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("옵션"));
    QCOMPARE(dlg.GetPageCount(), 3);
    const QStringList tabs = {QStringLiteral("일반"), QStringLiteral("일정"), QStringLiteral("작업")};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(dlg.GetTabWidget()->tabText(i), tabs[i]);
    const struct {
        int nPage;
        int nId;
        const char* pszKey;
    } labels[] = {
        {0, IDC_OPTION_24HOUR, "RC_OPTIONDLG_24HOUR"},
        {0, IDC_OPTION_MULTILINE, "RC_OPTIONDLG_MULTILINE"},
        {0, IDC_OPTION_NOTES_PENMODE, "RC_OPTIONDLG_NOTES_PENMODE"},
        {0, IDC_OPTION_USE_SOFTKEY, "RC_OPTIONDLG_USE_SOFTKEY"},
        {1, IDC_OPTION_BOLD_ALLDAYEVENT, "RC_OPTIONDLG_BOLD_ALLDAYEVENT"},
        {2, IDC_OPTION_BOLD_IMPORTANTTASK, "RC_OPTIONDLG_BOLD_IMPORTANTTASK"},
        {2, IDC_OPTION_SHOW_TASKSTART, "RC_OPTIONDLG_SHOW_TASKSTART"},
        {2, IDC_OPTION_SHOW_COMPLETETASK, "RC_OPTIONDLG_SHOW_COMPLETETASK"},
    };
    for (const auto& label : labels) {
        QCheckBox* pCheck = Check(&dlg, label.nPage, label.nId);
        QVERIFY2(pCheck != nullptr, label.pszKey);
        const QString expected = GetResourceString(fx.Strings(), QString::fromLatin1(label.pszKey));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(pCheck->text(), expected);
    }
}

void TestOptionDlg::pagesStartFromTheRecord()
{
    CSheetFixture fx;
    QVERIFY(fx.WriteRegistry(kAllChanged));
    AgendaSettings settings = fx.LoadSettings();
    COptionDlg dlg(QStringLiteral("옵션"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    const struct {
        int nPage;
        int nId;
        bool bChecked;
    } states[] = {
        {0, IDC_OPTION_24HOUR, true},           {0, IDC_OPTION_MULTILINE, true},
        {0, IDC_OPTION_NOTES_PENMODE, false},   {0, IDC_OPTION_USE_SOFTKEY, false},
        {1, IDC_OPTION_BOLD_ALLDAYEVENT, true}, {2, IDC_OPTION_BOLD_IMPORTANTTASK, true},
        {2, IDC_OPTION_SHOW_TASKSTART, true},   {2, IDC_OPTION_SHOW_COMPLETETASK, false},
    };
    for (const auto& state : states)
        QCOMPARE(Check(&dlg, state.nPage, state.nId)->isChecked(), state.bChecked);
}

void TestOptionDlg::toolBarOrSoftKeys_data()
{
    QTest::addColumn<bool>("bSoftKey");
    QTest::newRow("tool bar") << false;
    QTest::newRow("soft keys") << true;
}

void TestOptionDlg::toolBarOrSoftKeys()
{
    QFETCH(bool, bSoftKey);
    CSheetFixture fx;
    AgendaSettings settings = fx.LoadSettings();
    settings.UseSoftKey = bSoftKey ? 1 : 0;
    COptionDlg dlg(QStringLiteral("옵션"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    QCOMPARE(dlg.GetToolBar() != nullptr, !bSoftKey);
    QCOMPARE(dlg.GetSoftKeyBar() != nullptr, bSoftKey);
    const int nSave = bSoftKey ? 1 : ID_SHEET_TOOL_OK;
    const int nCancel = bSoftKey ? 2 : ID_SHEET_TOOL_CANCEL;
    QVERIFY(dlg.GetCommandButton(nSave) != nullptr);
    QVERIFY(dlg.GetCommandButton(nCancel) != nullptr);
    QCOMPARE(dlg.GetCommandButton(nSave)->text(),
             bSoftKey ? QStringLiteral("저장") : GetResourceString(fx.Strings(), QStringLiteral("RC_OPTIONDLG_SAVE")));
    QCOMPARE(dlg.GetCommandButton(nCancel)->text(),
             bSoftKey ? QStringLiteral("취소") : GetResourceString(fx.Strings(), QStringLiteral("RC_OPTIONDLG_CANCEL")));
    if (!bSoftKey) {
        // Pictures 0 and 1 of bitmap 219 beside the texts.
        QVERIFY(!dlg.GetCommandButton(nSave)->icon().isNull());
        QVERIFY(!dlg.GetCommandButton(nCancel)->icon().isNull());
        QCOMPARE(dlg.GetCommandButton(nSave)->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    }
}

void TestOptionDlg::savingAtOnceWritesAllEightValues_data()
{
    QTest::addColumn<QByteArray>("registry");
    QTest::addColumn<int>("nWay");
    QTest::addColumn<int>("nCommand");
    QTest::addColumn<bool>("bSoftKey");
    QTest::newRow("first run, command 1") << QByteArray() << int(Way::Command) << 1 << false;
    QTest::newRow("first run, Enter") << QByteArray() << int(Way::Key) << 1 << false;
    QTest::newRow("changed values, tool button") << kAllChanged << int(Way::ToolButton) << ID_SHEET_TOOL_OK << false;
    QTest::newRow("changed values, command 1201") << kAllChanged << int(Way::Command) << ID_SHEET_TOOL_OK << false;
    QTest::newRow("changed values, soft key") << kAllChanged << int(Way::SoftKey) << 1 << true;
}

void TestOptionDlg::savingAtOnceWritesAllEightValues()
{
    QFETCH(QByteArray, registry);
    QFETCH(int, nWay);
    QFETCH(int, nCommand);
    QFETCH(bool, bSoftKey);
    CSheetFixture fx;
    if (!registry.isEmpty())
        QVERIFY(fx.WriteRegistry(registry));
    AgendaSettings settings = fx.LoadSettings();
    settings.UseSoftKey = bSoftKey ? 1 : 0;
    const AgendaSettings before = settings;
    COptionDlg dlg(QStringLiteral("옵션"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QVERIFY(!dlg.GetApptPage()->HasWindow());
    QVERIFY(!dlg.GetTaskPage()->HasWindow());
    Send(&dlg, Way(nWay), nCommand);
    QCOMPARE(dlg.result(), IDOK);
    QVERIFY(!dlg.isVisible());
    const BOOL expected[] = {before.Use24Hour,       before.Multiline,         before.NotesPenDefault,
                             before.UseSoftKey,      before.BoldAllDayEvent,   before.BoldImportantTask,
                             before.ShowTaskStart,   before.ShowCompleteTask};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(Stored(kValueNames[i]), static_cast<DWORD>(expected[i]));
    if (registry.isEmpty()) {
        QCOMPARE(ValueOrder(fx.RegistryText()),
                 QStringList({"24hour", "Multiline", "NotesPenDefault", "UseSoftKey", "BoldAllDayEvent",
                              "BoldImportantTask", "ShowTaskStart", "ShowCompleteTask"}));
    } else {
        QCOMPARE(Stored("FontSize"), DWORD(12));  // never written by the sheet
    }
}

void TestOptionDlg::changeOnTaskPageSurvivesPageSwitch()
{
    CSheetFixture fx;
    AgendaSettings settings = fx.LoadSettings();
    COptionDlg dlg(QStringLiteral("옵션"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCheckBox* pBold = Check(&dlg, 2, IDC_OPTION_BOLD_IMPORTANTTASK);
    QCheckBox* pComplete = Check(&dlg, 2, IDC_OPTION_SHOW_COMPLETETASK);
    Tap(pBold);
    Tap(pComplete);
    QVERIFY(pBold->isChecked());
    QVERIFY(!pComplete->isChecked());
    // Away through the tab bar, then back to the first page.
    QTabBar* pTabBar = dlg.GetTabWidget()->tabBar();
    QTest::mouseClick(pTabBar, Qt::LeftButton, {}, pTabBar->tabRect(1).center());
    QCOMPARE(dlg.GetActiveIndex(), 1);
    dlg.SetActivePage(0);
    QTest::keyClick(&dlg, Qt::Key_Return);
    QCOMPARE(dlg.result(), IDOK);
    QCOMPARE(settings.BoldImportantTask, 1);
    QCOMPARE(settings.ShowCompleteTask, 0);
    QCOMPARE(Stored("BoldImportantTask"), DWORD(1));
    QCOMPARE(Stored("ShowCompleteTask"), DWORD(0));
    QCOMPARE(Stored("ShowTaskStart"), DWORD(0));
}

void TestOptionDlg::cancelLeavesRecordAndRegistryAlone_data()
{
    QTest::addColumn<int>("nWay");
    QTest::addColumn<int>("nCommand");
    QTest::addColumn<bool>("bSoftKey");
    QTest::newRow("command 2") << int(Way::Command) << 2 << false;
    QTest::newRow("command 1202") << int(Way::Command) << ID_SHEET_TOOL_CANCEL << false;
    QTest::newRow("tool button") << int(Way::ToolButton) << ID_SHEET_TOOL_CANCEL << false;
    QTest::newRow("Escape") << int(Way::Key) << 2 << false;
    QTest::newRow("soft key") << int(Way::SoftKey) << 2 << true;
    QTest::newRow("window closed") << int(Way::CloseWindow) << 0 << false;
}

void TestOptionDlg::cancelLeavesRecordAndRegistryAlone()
{
    QFETCH(int, nWay);
    QFETCH(int, nCommand);
    QFETCH(bool, bSoftKey);
    CSheetFixture fx;
    QVERIFY(fx.WriteRegistry(kAllChanged + "\"Other\"=\"kept as written\"\n"));
    AgendaSettings settings = fx.LoadSettings();
    settings.UseSoftKey = bSoftKey ? 1 : 0;
    const QByteArray text = fx.RegistryText();
    COptionDlg dlg(QStringLiteral("옵션"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    Tap(Check(&dlg, 0, IDC_OPTION_24HOUR));
    Tap(Check(&dlg, 0, IDC_OPTION_USE_SOFTKEY));
    Tap(Check(&dlg, 1, IDC_OPTION_BOLD_ALLDAYEVENT));
    Tap(Check(&dlg, 2, IDC_OPTION_SHOW_TASKSTART));
    QVERIFY(!Check(&dlg, 0, IDC_OPTION_24HOUR)->isChecked());
    QVERIFY(!Check(&dlg, 2, IDC_OPTION_SHOW_TASKSTART)->isChecked());
    Send(&dlg, Way(nWay), nCommand);
    QCOMPARE(dlg.result(), IDCANCEL);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(fx.RegistryText(), text);
    QCOMPARE(settings.Use24Hour, 1);
    QCOMPARE(settings.BoldAllDayEvent, 1);
    QCOMPARE(settings.ShowTaskStart, 1);
    QCOMPARE(settings.UseSoftKey, bSoftKey ? 1 : 0);
}

void TestOptionDlg::softKeyChoiceGoesToTheRegistryOnly()
{
    CSheetFixture fx;
    AgendaSettings settings = fx.LoadSettings();
    COptionDlg dlg(QStringLiteral("옵션"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    Tap(Check(&dlg, 0, IDC_OPTION_USE_SOFTKEY));
    Tap(Check(&dlg, 0, IDC_OPTION_MULTILINE));
    dlg.OnCommand(ID_SHEET_TOOL_OK);
    QCOMPARE(dlg.result(), IDOK);
    QCOMPARE(Stored("UseSoftKey"), DWORD(1));
    QCOMPARE(settings.UseSoftKey, 0);  // the running window keeps its bar
    QCOMPARE(settings.Multiline, 1);
    QCOMPARE(Stored("Multiline"), DWORD(1));
    // The next start reads the new choice.
    QCOMPARE(fx.LoadSettings().UseSoftKey, 1);
}

void TestOptionDlg::sheetCoversTheMainWindowWithTheBarInFront()
{
    CSheetFixture fx;
    fx.MainWindow()->setGeometry(30, 40, 300, 400);
    AgendaSettings settings = fx.LoadSettings();
    COptionDlg dlg(QStringLiteral("옵션"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    QCOMPARE(dlg.size(), QSize(300, 400));
    const QRect bar = dlg.GetToolBar()->geometry();
    QCOMPARE(bar.bottom(), dlg.height() - 1);
    QVERIFY(dlg.GetTabWidget()->geometry().bottom() < bar.top());
    QCOMPARE(dlg.childAt(bar.center()) == dlg.GetToolBar() || dlg.GetToolBar()->isAncestorOf(dlg.childAt(bar.center())),
             true);
}

void TestOptionDlg::screenshots_data()
{
    QTest::addColumn<int>("nPage");
    QTest::addColumn<bool>("bSoftKey");
    for (int nPage = 0; nPage < 3; ++nPage) {
        for (bool bSoftKey : {false, true}) {
            const QByteArray name = "options-page" + QByteArray::number(nPage) + (bSoftKey ? "-softkeys" : "-toolbar");
            QTest::newRow(name.constData()) << nPage << bSoftKey;
        }
    }
}

void TestOptionDlg::screenshots()
{
    QFETCH(int, nPage);
    QFETCH(bool, bSoftKey);
    CSheetFixture fx;
    QVERIFY(fx.WriteRegistry(kAllChanged));
    AgendaSettings settings = fx.LoadSettings();
    settings.UseSoftKey = bSoftKey ? 1 : 0;
    COptionDlg dlg(QStringLiteral("옵션"), &settings, &fx.Strings(), fx.MainWindow(), nPage);
    dlg.show();
    QCOMPARE(dlg.GetActiveIndex(), nPage);
    const QImage image = CSheetFixture::Shot(&dlg, QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png"));
    QCOMPARE(image.size(), QSize(240, 320));
    // The soft-key bar is dark along the bottom; the tool bar is not.
    const QColor bottom = image.pixelColor(2, image.height() - 2);
    QCOMPARE(bottom.lightness() < 80, bSoftKey);
    // The first check box of the page is drawn with its label's dark text.
    const QWidget* pFirst = dlg.GetPage(nPage)->findChild<QCheckBox*>();
    QVERIFY(pFirst != nullptr);
    const QRect box(pFirst->mapTo(&dlg, QPoint(0, 0)), pFirst->size());
    int nDark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x)
            nDark += image.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    }
    QVERIFY2(nDark > 30, qPrintable(QString::number(nDark)));
}

QTEST_MAIN(TestOptionDlg)
#include "tst_OptionDlg.moc"
