// The about sheet: icon, title and the version read from the running program's version
// block (this test program carries the project's block), its close commands and its bars.
#include "SheetFixture.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CAboutPage.h"
#include "dialogs/OptionIds.h"
#include <QLabel>
#include <QTabWidget>
#include "dialogs/CDialogToolBar.h"
#include <QToolButton>
#include <QtTest>

namespace {

QString LabelText(CAboutDlg* pDlg, int nId)
{
    auto* pLabel = qobject_cast<QLabel*>(pDlg->GetAboutPage()->GetDlgItem(nId));
    return pLabel != nullptr ? pLabel->text() : QStringLiteral("<no label>");
}

}  // namespace

class TestAboutDlg : public QObject {
    Q_OBJECT
private slots:
    void showsIconTitleAndVersion();
    void versionWithoutProductVersionIsEmpty();
    void closeCommands_data();
    void closeCommands();
    void screenshots_data();
    void screenshots();
};

void TestAboutDlg::showsIconTitleAndVersion()
{
    CSheetFixture fx;
    AgendaSettings settings = fx.LoadSettings();
    CAboutDlg dlg(QStringLiteral("프로그램 정보"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("프로그램 정보"));
    QCOMPARE(LabelText(&dlg, IDC_ABOUT_TITLE), QStringLiteral("Quillday"));
    QCOMPARE(LabelText(&dlg, IDC_ABOUT_VERSION), QStringLiteral("1.0.0.1"));
    auto* pIcon = qobject_cast<QLabel*>(dlg.GetAboutPage()->GetDlgItem(IDC_ABOUT_ICON));
    QVERIFY(pIcon != nullptr);
    QCOMPARE(pIcon->pixmap().size(), QSize(32, 32));
    for (int nId : {IDC_ABOUT_MAKER_1, IDC_ABOUT_MAKER_2, IDC_ABOUT_MAKER_3, IDC_ABOUT_MAKER_4})
        QVERIFY(!LabelText(&dlg, nId).isEmpty() && LabelText(&dlg, nId) != QStringLiteral("<no label>"));
    QCOMPARE(LabelText(&dlg, IDC_ABOUT_LICENCE), QStringLiteral("Free software: GNU GPL 3 or later"));
}

void TestAboutDlg::versionWithoutProductVersionIsEmpty()
{
    CSheetFixture fx;
    AgendaSettings settings = fx.LoadSettings();
    for (const QString& path : {QStringLiteral(QUILLDAY_VERSION_FIXTURE), QStringLiteral("/nonexistent/quillday")}) {
        CAboutDlg dlg(QStringLiteral("프로그램 정보"), &settings, &fx.Strings(), fx.MainWindow());
        dlg.GetAboutPage()->SetModulePath(path);
        dlg.show();
        QCOMPARE(LabelText(&dlg, IDC_ABOUT_VERSION), QString());
        QCOMPARE(LabelText(&dlg, IDC_ABOUT_TITLE), QStringLiteral("Quillday"));
    }
}

void TestAboutDlg::closeCommands_data()
{
    QTest::addColumn<bool>("bSoftKey");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("nResult");
    QTest::newRow("command 1") << false << "1" << IDOK;
    QTest::newRow("command 1201") << false << "1201" << IDOK;
    QTest::newRow("tool button") << false << "button" << IDOK;
    QTest::newRow("Enter") << false << "Enter" << IDOK;
    QTest::newRow("Escape") << false << "Escape" << IDCANCEL;
    QTest::newRow("soft key") << true << "button" << IDOK;
}

void TestAboutDlg::closeCommands()
{
    QFETCH(bool, bSoftKey);
    QFETCH(QString, how);
    QFETCH(int, nResult);
    CSheetFixture fx;
    AgendaSettings settings = fx.LoadSettings();
    settings.UseSoftKey = bSoftKey ? 1 : 0;
    CAboutDlg dlg(QStringLiteral("프로그램 정보"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(dlg.GetToolBar() != nullptr, !bSoftKey);
    QToolButton* pButton = dlg.GetCommandButton(bSoftKey ? 1 : ID_SHEET_TOOL_OK);
    QVERIFY(pButton != nullptr);
    QCOMPARE(pButton->text(), bSoftKey ? QStringLiteral("닫기")
                                       : GetResourceString(fx.Strings(), QStringLiteral("RC_ABOUTDLG_CLOSE")));
    if (how == QLatin1String("button"))
        QTest::mouseClick(pButton, Qt::LeftButton);
    else if (how == QLatin1String("Enter"))
        QTest::keyClick(&dlg, Qt::Key_Return);
    else if (how == QLatin1String("Escape"))
        QTest::keyClick(&dlg, Qt::Key_Escape);
    else
        QVERIFY(dlg.OnCommand(how.toInt()));
    QCOMPARE(dlg.result(), nResult);
    QVERIFY(!dlg.isVisible());
}

void TestAboutDlg::screenshots_data()
{
    QTest::addColumn<bool>("bSoftKey");
    QTest::newRow("about-toolbar") << false;
    QTest::newRow("about-softkeys") << true;
}

void TestAboutDlg::screenshots()
{
    QFETCH(bool, bSoftKey);
    CSheetFixture fx;
    AgendaSettings settings = fx.LoadSettings();
    settings.UseSoftKey = bSoftKey ? 1 : 0;
    CAboutDlg dlg(QStringLiteral("프로그램 정보"), &settings, &fx.Strings(), fx.MainWindow());
    dlg.show();
    const QImage image = CSheetFixture::Shot(&dlg, QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png"));
    QCOMPARE(image.size(), QSize(240, 320));
    QCOMPARE(image.pixelColor(2, image.height() - 2).lightness() < 80, bSoftKey);
    // The program icon is drawn where its label is: not a plain background there.
    QWidget* pIcon = dlg.GetAboutPage()->GetDlgItem(IDC_ABOUT_ICON);
    const QPoint centre = pIcon->mapTo(&dlg, pIcon->rect().center());
    QSet<QRgb> colours;
    for (int dy = -12; dy <= 12; ++dy) {
        for (int dx = -12; dx <= 12; ++dx)
            colours.insert(image.pixel(centre + QPoint(dx, dy)));
    }
    QVERIFY2(colours.size() > 5, qPrintable(QString::number(colours.size())));
}

QTEST_MAIN(TestAboutDlg)
#include "tst_AboutDlg.moc"
