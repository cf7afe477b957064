// The window in each shipped language, chosen by the locale: the week, an editor, the
// options sheet, the pen-stroke sheet and a question show the shipped strings of that
// language and no empty text. Pictures of each at scale 1 and 2 go to the test output.
#include "WeekFixture.h"
#include "app/CItemActions.h"
#include "app/MainCommands.h"
#include "controls/CBitmapButtonEx.h"
#include "platform/CScriptedMessageBox.h"
#include "tests/support/ModalWindow.h"
#include "tests/support/TestOutput.h"
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

using F = CWeekFixture;

// The ship's strings files in the fixture's program folder.
void UseShippedStrings(CWeekFixture* pFx)
{
    const QDir data(qEnvironmentVariable("QUILLDAY_TEST_DATA"));
    for (const char* pszName : {"orlith.inf", "orlith.en.inf"}) {
        QFile file(data.filePath(QString::fromLatin1(pszName)));
        if (file.open(QIODevice::ReadOnly))
            pFx->WriteFile(QString::fromLatin1(pszName), file.readAll());
    }
}

// The widgets of a window that show no text although they are made to: labels without
// a picture, buttons without an icon, combo box items, tab titles. By object class and
// name, for the failure message.
QStringList EmptyTexts(QWidget* pWindow)
{
    QStringList empty;
    const auto note = [&empty](QWidget* p) {
        empty << QString::fromLatin1(p->metaObject()->className()) + QLatin1Char(' ') + p->objectName();
    };
    for (QLabel* p : pWindow->findChildren<QLabel*>()) {
        if (p->isVisibleTo(pWindow) && p->pixmap().isNull() && p->text().trimmed().isEmpty())
            note(p);
    }
    for (QAbstractButton* p : pWindow->findChildren<QAbstractButton*>()) {
        if (p->isVisibleTo(pWindow) && p->icon().isNull() && p->text().trimmed().isEmpty())
            note(p);
    }
    for (QComboBox* p : pWindow->findChildren<QComboBox*>()) {
        for (int i = 0; i < p->count(); ++i) {
            if (p->itemText(i).trimmed().isEmpty())
                note(p);
        }
    }
    for (QTabWidget* p : pWindow->findChildren<QTabWidget*>()) {
        for (int i = 0; i < p->count(); ++i) {
            if (p->tabText(i).trimmed().isEmpty())
                note(p);
        }
    }
    return empty;
}

// The labels, check boxes and radio buttons of a window whose one-line text is wider than their room.
QStringList CutTexts(QWidget* pWindow)
{
    QStringList cut;
    for (QLabel* p : pWindow->findChildren<QLabel*>()) {
        if (p->isVisibleTo(pWindow) && p->pixmap().isNull() && !p->wordWrap() && p->width() < p->sizeHint().width())
            cut << p->text();
    }
    for (QCheckBox* p : pWindow->findChildren<QCheckBox*>()) {
        if (p->isVisibleTo(pWindow) && p->width() < p->sizeHint().width())
            cut << p->text();
    }
    for (QRadioButton* p : pWindow->findChildren<QRadioButton*>()) {
        if (p->isVisibleTo(pWindow) && p->width() < p->sizeHint().width())
            cut << p->text();
    }
    return cut;
}

struct WindowSeen {
    QString strTitle;
    QStringList empty;
    QStringList cut;
};

// Runs the main view's command, which opens a modal window; notes what the window shows,
// saves its pictures under strName and closes it.
WindowSeen SeeModal(CMainFrame* pFrame, int nCommand, const QString& strName)
{
    WindowSeen seen;
    WhenModal([&seen, strName](QWidget* pModal) {
        seen.strTitle = pModal->windowTitle();
        seen.empty = EmptyTexts(pModal);
        seen.cut = CutTexts(pModal);
        SaveTestPng(pModal, strName + QStringLiteral("_x1.png"));
        SaveTestPng(pModal, strName + QStringLiteral("_x2.png"), 2.0);
        if (auto* pDialog = qobject_cast<QDialog*>(pModal))
            pDialog->reject();
    });
    pFrame->GetView()->OnCommand(nCommand);
    return seen;
}

QStringList PopupMenuTexts(CMainFrame* pFrame)
{
    QStringList texts;
    QTimer::singleShot(0, pFrame, [&texts]() {
        if (auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* pAction : pMenu->actions())
                texts << pAction->text();
            pMenu->close();
        }
    });
    pFrame->GetView()->GetButton(IDC_POPUP_MENU)->click();
    return texts;
}

}  // namespace

class TestLanguages : public QObject {
    Q_OBJECT
private slots:
    void eachWindowInTheLocalesLanguage_data();
    void eachWindowInTheLocalesLanguage();
};

void TestLanguages::eachWindowInTheLocalesLanguage_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("strTitle");
    QTest::addColumn<QString>("strMenuFirst");
    QTest::addColumn<QString>("strQuestion");
    QTest::addColumn<QString>("strLanguage");
    QTest::newRow("English") << QByteArray("en_US.UTF-8") << "Mar 2015" << "Undo"
                             << "Delete 'Dentist', Wed 9:00 AM?" << "en";
    QTest::newRow("Korean") << QByteArray("ko_KR.UTF-8") << QString::fromUtf8("2015년 3월")
                            << QString::fromUtf8("실행 취소") << QString::fromUtf8("'Dentist'(수 9:00 AM)을(를) 삭제할까요?")
                            << "ko";
}

void TestLanguages::eachWindowInTheLocalesLanguage()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, strTitle);
    QFETCH(QString, strMenuFirst);
    QFETCH(QString, strQuestion);
    QFETCH(QString, strLanguage);
    const QByteArray previous = qgetenv("LC_MESSAGES");
    qputenv("LC_MESSAGES", locale);
    CWeekFixture fx;
    UseShippedStrings(&fx);
    const int nAppt = fx.AddAppt("Dentist", F::Date(2015, 3, 4, 9, 0), F::Date(2015, 3, 4, 10, 0));
    auto pFrame = fx.Start(2015, 3, 4);
    QVERIFY(pFrame);
    QApplication::setActiveWindow(pFrame.get());
    QVERIFY(QTest::qWaitForWindowActive(pFrame.get()));

    QCOMPARE(pFrame->GetView()->GetTitleText(), strTitle);
    const QStringList menu = PopupMenuTexts(pFrame.get());
    QCOMPARE(menu.value(0), strMenuFirst);
    QVERIFY2(!menu.contains(QString()), qPrintable(menu.join('|')));
    for (CBitmapButtonEx* pButton : pFrame->GetView()->findChildren<CBitmapButtonEx*>())
        QVERIFY(!pButton->toolTip().isEmpty());
    SaveTestPng(pFrame.get(), QStringLiteral("main_view_%1_x1.png").arg(strLanguage));
    SaveTestPng(pFrame.get(), QStringLiteral("main_view_%1_x2.png").arg(strLanguage), 2.0);

    for (const auto& [nCommand, strName] : {std::pair{ID_NEW_APPOINTMENT, QStringLiteral("editor")},
                                            std::pair{ID_NEW_TASK, QStringLiteral("task_editor")},
                                            std::pair{ID_OPTIONS, QStringLiteral("options")},
                                            std::pair{ID_STROKE_HELP, QStringLiteral("strokes")}}) {
        const WindowSeen seen = SeeModal(pFrame.get(), nCommand, strName + QLatin1Char('_') + strLanguage);
        QVERIFY2(seen.empty.isEmpty(), qPrintable(strName + ": " + seen.empty.join(", ")));
        QVERIFY2(seen.cut.isEmpty(), qPrintable(strName + " cuts " + seen.cut.join(", ")));
    }

    // The question before a delete names the item in the same language.
    CScriptedMessageBox boxes({IDNO});
    CItemActions(pFrame.get(), pFrame.get()).Delete({nAppt, kEntryKindAppointment, F::Date(2015, 3, 4, 9, 0)});
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, strQuestion);
    qputenv("LC_MESSAGES", previous);
}

QTEST_MAIN(TestLanguages)
#include "tst_Languages.moc"
