// The QMessageBox handler: buttons and default button of each box type, and the answer.
#include "app/CQtMessageBoxHandler.h"
#include "platform/MessageBox.h"
#include "resources/UiLanguage.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

class TestQtMessageBoxHandler : public QObject {
    Q_OBJECT

private:
    // Runs act on the box once it is shown, then returns the handler's answer.
    int ShowAndAct(unsigned type, const std::function<void(QMessageBox*)>& act)
    {
        m_strButtons.clear();
        m_nDefault = QMessageBox::NoButton;
        QTimer::singleShot(0, this, [this, act] {
            auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(pBox);
            m_strCaption = pBox->windowTitle();
            m_strText = pBox->text();
            for (QAbstractButton* pButton : pBox->buttons())
                m_strButtons << QString::number(pBox->standardButton(pButton), 16);
            m_nDefault = pBox->defaultButton() ? pBox->standardButton(pBox->defaultButton()) : QMessageBox::NoButton;
            act(pBox);
        });
        return MessageBox(QStringLiteral("Delete this item?"), QStringLiteral("Quillday"), type);
    }

    QString m_strCaption, m_strText;
    QStringList m_strButtons;
    int m_nDefault = QMessageBox::NoButton;

private slots:
    void initTestCase() { CQtMessageBoxHandler::Install(); }
    void cleanupTestCase() { SetMessageBoxHandler(MessageBoxHandler()); }

    void answersTheClickedButton_data()
    {
        QTest::addColumn<unsigned>("type");
        QTest::addColumn<int>("click");
        QTest::addColumn<int>("expectedDefault");
        QTest::addColumn<int>("expectedAnswer");
        QTest::newRow("ok") << MB_OK << int(QMessageBox::Ok) << int(QMessageBox::Ok) << IDOK;
        QTest::newRow("yes of yes/no") << (MB_YESNO | MB_ICONQUESTION) << int(QMessageBox::Yes) << int(QMessageBox::Yes) << IDYES;
        QTest::newRow("no of yes/no, default no") << (MB_YESNO | MB_DEFBUTTON2) << int(QMessageBox::No) << int(QMessageBox::No) << IDNO;
        QTest::newRow("cancel of yes/no/cancel") << MB_YESNOCANCEL << int(QMessageBox::Cancel) << int(QMessageBox::Yes) << IDCANCEL;
        QTest::newRow("ok of ok/cancel, default cancel") << (MB_OKCANCEL | MB_DEFBUTTON2) << int(QMessageBox::Ok) << int(QMessageBox::Cancel) << IDOK;
    }
    void answersTheClickedButton()
    {
        QFETCH(unsigned, type);
        QFETCH(int, click);
        QFETCH(int, expectedDefault);
        QFETCH(int, expectedAnswer);
        const int answer = ShowAndAct(type, [click](QMessageBox* pBox) {
            pBox->button(static_cast<QMessageBox::StandardButton>(click))->click();
        });
        QCOMPARE(answer, expectedAnswer);
        QCOMPARE(m_nDefault, expectedDefault);
        QCOMPARE(m_strCaption, QStringLiteral("Quillday"));
        QCOMPARE(m_strText, QStringLiteral("Delete this item?"));
    }

    void yesNoCancelShowsThreeButtons()
    {
        ShowAndAct(MB_YESNOCANCEL, [](QMessageBox* pBox) { pBox->button(QMessageBox::Yes)->click(); });
        QCOMPARE(m_strButtons.size(), 3);
    }

    void buttonsSpeakTheLanguageOfTheTexts()
    {
        const struct {
            const char* pszLanguage;
            QStringList buttons;
        } cases[] = {
            {"ko", {QStringLiteral("예(&Y)"), QStringLiteral("아니요(&N)")}},
            {"en", {QStringLiteral("&Yes"), QStringLiteral("&No")}},
        };
        for (const auto& c : cases) {
            SetUiLanguage(QString::fromLatin1(c.pszLanguage));
            QStringList texts;
            ShowAndAct(MB_YESNO, [&texts](QMessageBox* pBox) {
                texts << pBox->button(QMessageBox::Yes)->text() << pBox->button(QMessageBox::No)->text();
                pBox->button(QMessageBox::No)->click();
            });
            QCOMPARE(texts, c.buttons);
        }
        SetUiLanguage(QStringLiteral("ko"));
    }

    void escapeAnswersCancelOrNo()
    {
        const int cancel = ShowAndAct(MB_YESNOCANCEL, [](QMessageBox* pBox) { QTest::keyClick(pBox, Qt::Key_Escape); });
        QCOMPARE(cancel, IDCANCEL);
        const int no = ShowAndAct(MB_YESNO, [](QMessageBox* pBox) { QTest::keyClick(pBox, Qt::Key_Escape); });
        QCOMPARE(no, IDNO);
    }
};

QTEST_MAIN(TestQtMessageBoxHandler)
#include "tst_QtMessageBoxHandler.moc"
