// The editors drawn as --scale draws the program: Qt's scale factor set before the
// application starts. The dialog keeps its 240 x 320 layout and every pixel grows.
#include "DialogFixture.h"
#include "dialogs/CApptDlg.h"
#include "dialogs/CTaskDlg.h"
#include "dialogs/EditorIds.h"
#include <QApplication>
#include <QTest>

namespace {

constexpr int kScale = 2;

}  // namespace

class TestEditorScale : public QObject {
    Q_OBJECT
private slots:
    void editorsGrowWithTheScale();
};

void TestEditorScale::editorsGrowWithTheScale()
{
    CDialogFixture fx;
    fx.MainWindow()->show();
    const int32_t nOid = fx.AddAppt(QStringLiteral("Scaled"), Dt(2015, 3, 4, 9, 0), Dt(2015, 3, 4, 10, 0), false,
                                    HandwrittenNotes());
    CApptDlg appt(&fx, fx.MainWindow());
    appt.Load(fx.GetAppt(nOid));
    appt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&appt));
    QCOMPARE(appt.size(), QSize(240, 320));
    const QPixmap shot = appt.grab();
    QCOMPARE(shot.size(), QSize(240 * kScale, 320 * kScale));
    QVERIFY(shot.save(qEnvironmentVariable("QUILLDAY_TEST_OUTPUT") + QStringLiteral("/appt_dialog_scale2.png")));

    CTaskDlg task(&fx, fx.MainWindow());
    task.show();
    QVERIFY(QTest::qWaitForWindowExposed(&task));
    QCOMPARE(task.grab().size(), QSize(240 * kScale, 320 * kScale));
    QVERIFY(task.GetDlgItem(IDC_COMPLETE)->geometry().bottom() < 145);
}

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", QByteArray::number(kScale));
    QApplication app(argc, argv);
    TestEditorScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_EditorScale.moc"
