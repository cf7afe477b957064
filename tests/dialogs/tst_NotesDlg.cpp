// The notes editor driven as a person would: writing with the pen, switching to the
// keyboard with the bar's button, typing, Save, Cancel, Escape and clear all.
#include "dialogs/CDialogToolBar.h"
#include "dialogs/CNotesDlg.h"
#include "tests/support/ink_helper.h"
#include "platform/CScriptedMessageBox.h"

#include <QApplication>
#include <QToolButton>
#include <QtTest>

namespace {

CNotesData NotesOf(const NotesBlob& blob)
{
    CNotesData notes;
    if (!notes.FromBytes(blob.bytes))
        qWarning("not notes bytes");
    return notes;
}

NotesBlob SampleBlob()
{
    CNotesData notes;
    notes.m_strText = QStringLiteral("old notes");
    CInkStroke stroke;
    stroke.nWidth = 2;
    stroke.points = {{10, 60}, {40, 70}, {80, 60}};
    notes.m_strokes.append(stroke);
    return NotesBlob{notes.ToBytes()};
}

// Another program's notes: not our format.
const QByteArray kForeignBytes = QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(300, '\x07');

}  // namespace

class TestNotesDlg : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        InkInitTest();
        m_strings = InkTestStrings();
    }

    void opensWithTitleBarAndModeOfTheSetting_data();
    void opensWithTitleBarAndModeOfTheSetting();
    void handwritingAndTypingAreSavedAndReopened();
    void cancelAndEscapeLeaveTheNotesUnchanged_data();
    void cancelAndEscapeLeaveTheNotesUnchanged();
    void enterIsALineBreakNotSave();
    void clearAllAnsweredNoLeavesContentAndMode();
    void clearAllAnsweredYesEmptiesInTheButtonsMode_data();
    void clearAllAnsweredYesEmptiesInTheButtonsMode();
    void savingAnEmptyControlEmptiesTheNotes();
    void unreadableNotesSurviveSaveUntilClearedAll();
    void coversTheMainWindowWithTheBarAtTheBottom_data();
    void coversTheMainWindowWithTheBarAtTheBottom();
    void picturesOfTheEditor();

private:
    // The dialog shown over a 240 x 320 main window, active, on the given notes.
    struct Open {
        QWidget main;
        CNotesDlg dlg;
        Open(const StringTable& strings, BOOL bPen, NotesBlob* pNotes, QSize size = QSize(240, 320))
            : dlg(&main, strings, bPen)
        {
            main.setGeometry(QRect(QPoint(30, 40), size));
            dlg.SetNotes(pNotes);
            dlg.show();
            QApplication::setActiveWindow(&dlg);
        }
        CInkCanvas* Inner() { return dlg.GetInkWnd()->GetInner(); }
        QToolButton* Button(int nCommand) { return dlg.GetToolBar()->GetButton(nCommand); }
        void Click(int nCommand) { QTest::mouseClick(Button(nCommand), Qt::LeftButton); }
    };

    StringTable m_strings;
};

void TestNotesDlg::opensWithTitleBarAndModeOfTheSetting_data()
{
    QTest::addColumn<int>("bPenDefault");
    QTest::addColumn<int>("nInputMode");
    QTest::addColumn<int>("nZoom");
    QTest::newRow("pen default") << 1 << kInkInputPen << 200;
    QTest::newRow("keyboard default") << 0 << kInkInputKeyboard << 100;
}

void TestNotesDlg::opensWithTitleBarAndModeOfTheSetting()
{
    QFETCH(int, bPenDefault);
    QFETCH(int, nInputMode);
    QFETCH(int, nZoom);
    NotesBlob notes = SampleBlob();
    Open o(m_strings, bPenDefault, &notes);
    QCOMPARE(o.dlg.windowTitle(), QStringLiteral("메모"));
    QCOMPARE(o.Button(ID_NOTES_SAVE)->text(), QStringLiteral("저장"));
    QCOMPARE(o.Button(ID_NOTES_CANCEL)->text(), QStringLiteral("취소"));
    QVERIFY(o.Button(ID_NOTES_PENMODE)->text().isEmpty());
    QVERIFY(o.Button(ID_NOTES_CLEARALL)->text().isEmpty());
    QVERIFY(o.Button(ID_NOTES_PENMODE)->isCheckable());
    QCOMPARE(o.Button(ID_NOTES_PENMODE)->isChecked(), bPenDefault != 0);
    QCOMPARE(o.dlg.GetInkWnd()->GetDlgCtrlID(), 1205);
    QCOMPARE(o.Inner()->GetInputMode(), nInputMode);
    QCOMPARE(o.Inner()->GetZoom(), nZoom);
    QCOMPARE(o.Inner()->GetPage().GetNotes(), NotesOf(SampleBlob()));
    QVERIFY(o.Inner()->hasFocus());

    // The button switches to the other mode and back.
    o.Click(ID_NOTES_PENMODE);
    QCOMPARE(o.Inner()->GetInputMode(), bPenDefault ? kInkInputKeyboard : kInkInputPen);
    QCOMPARE(o.Inner()->GetZoom(), bPenDefault ? 100 : 200);
    o.Click(ID_NOTES_PENMODE);
    QCOMPARE(o.Inner()->GetInputMode(), nInputMode);
    QCOMPARE(o.Inner()->GetZoom(), nZoom);
}

void TestNotesDlg::handwritingAndTypingAreSavedAndReopened()
{
    NotesBlob notes;
    CNotesData written;
    {
        Open o(m_strings, TRUE, &notes);
        const QVector<QPoint> stroke = {{30, 30}, {50, 60}, {90, 50}, {120, 80}};
        InkMouseStroke(o.Inner(), stroke);
        o.Click(ID_NOTES_PENMODE);  // to the keyboard
        QTest::keyClicks(o.Inner(), QStringLiteral("Room 4"));
        QTest::keyClick(o.Inner(), Qt::Key_Return);
        QTest::keyClick(o.Inner(), '2');
        InkCommitText(o.Inner(), QStringLiteral("층"));
        o.Click(ID_NOTES_SAVE);
        QCOMPARE(o.dlg.result(), IDOK);
        QVERIFY(!o.dlg.isVisible());
        written = NotesOf(notes);
        QCOMPARE(written.m_strText, QStringLiteral("Room 4\n2층"));
        QCOMPARE(written.m_strokes.size(), 1);
        QCOMPARE(written.m_strokes[0].points, (QVector<QPoint>{{15, 15}, {25, 30}, {45, 25}, {60, 40}}));
    }
    const QByteArray saved = notes.bytes;
    Open reopened(m_strings, FALSE, &notes);
    QCOMPARE(reopened.Inner()->GetPage().GetNotes(), written);
    reopened.Click(ID_NOTES_SAVE);
    QCOMPARE(notes.bytes, saved);
}

void TestNotesDlg::cancelAndEscapeLeaveTheNotesUnchanged_data()
{
    QTest::addColumn<bool>("bEscape");
    QTest::newRow("cancel button") << false;
    QTest::newRow("escape") << true;
}

void TestNotesDlg::cancelAndEscapeLeaveTheNotesUnchanged()
{
    QFETCH(bool, bEscape);
    NotesBlob notes = SampleBlob();
    Open o(m_strings, TRUE, &notes);
    InkMouseStroke(o.Inner(), {{10, 10}, {200, 200}});
    CScriptedMessageBox boxes({IDYES});
    o.Click(ID_NOTES_CLEARALL);
    if (bEscape)
        QTest::keyClick(o.Inner(), Qt::Key_Escape);
    else
        o.Click(ID_NOTES_CANCEL);
    QCOMPARE(o.dlg.result(), IDCANCEL);
    QVERIFY(!o.dlg.isVisible());
    QCOMPARE(notes.bytes, SampleBlob().bytes);
}

void TestNotesDlg::enterIsALineBreakNotSave()
{
    NotesBlob notes;
    Open o(m_strings, FALSE, &notes);
    QTest::keyClick(o.Inner(), 'a');
    QTest::keyClick(o.Inner(), Qt::Key_Return);
    QTest::keyClick(o.Inner(), Qt::Key_Enter);
    QTest::keyClick(o.Inner(), 'b');
    QVERIFY(o.dlg.isVisible());
    QVERIFY(notes.IsEmpty());
    o.Click(ID_NOTES_SAVE);
    QCOMPARE(NotesOf(notes).m_strText, QStringLiteral("a\n\nb"));
}

void TestNotesDlg::clearAllAnsweredNoLeavesContentAndMode()
{
    NotesBlob notes = SampleBlob();
    Open o(m_strings, TRUE, &notes);
    o.Click(ID_NOTES_PENMODE);  // keyboard
    o.Inner()->SetZoom(150);    // a mode setting the question must not reset
    CScriptedMessageBox boxes({IDNO});
    o.Click(ID_NOTES_CLEARALL);
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, QStringLiteral("메모를 모두 지울까요?"));
    QCOMPARE(boxes.Calls()[0].strCaption, QStringLiteral("Quillday"));
    QCOMPARE(boxes.Calls()[0].nType, MB_YESNO | MB_ICONQUESTION);
    QCOMPARE(o.Inner()->GetPage().GetNotes(), NotesOf(SampleBlob()));
    QCOMPARE(o.Inner()->GetInputMode(), kInkInputKeyboard);
    QCOMPARE(o.Inner()->GetZoom(), 150);
    QVERIFY(!o.Button(ID_NOTES_PENMODE)->isChecked());
    o.Click(ID_NOTES_SAVE);
    QCOMPARE(notes.bytes, SampleBlob().bytes);
}

void TestNotesDlg::clearAllAnsweredYesEmptiesInTheButtonsMode_data()
{
    QTest::addColumn<bool>("bPressed");
    QTest::newRow("pen button pressed") << true;
    QTest::newRow("pen button not pressed") << false;
}

void TestNotesDlg::clearAllAnsweredYesEmptiesInTheButtonsMode()
{
    QFETCH(bool, bPressed);
    NotesBlob notes = SampleBlob();
    Open o(m_strings, !bPressed, &notes);
    o.Click(ID_NOTES_PENMODE);
    o.Inner()->SetZoom(150);
    CScriptedMessageBox boxes({IDYES});
    o.Click(ID_NOTES_CLEARALL);
    QVERIFY(o.Inner()->GetPage().GetNotes().IsEmpty());
    QCOMPARE(o.Inner()->GetInputMode(), bPressed ? kInkInputPen : kInkInputKeyboard);
    QCOMPARE(o.Inner()->GetZoom(), bPressed ? 200 : 100);
    QCOMPARE(notes.bytes, SampleBlob().bytes);  // only Save changes the notes
}

void TestNotesDlg::savingAnEmptyControlEmptiesTheNotes()
{
    NotesBlob notes = SampleBlob();
    Open o(m_strings, TRUE, &notes);
    CScriptedMessageBox boxes({IDYES});
    o.Click(ID_NOTES_CLEARALL);
    o.Click(ID_NOTES_SAVE);
    QCOMPARE(o.dlg.result(), IDOK);
    QVERIFY(notes.IsEmpty());
    QCOMPARE(notes.GetCount(), 0);
}

void TestNotesDlg::unreadableNotesSurviveSaveUntilClearedAll()
{
    NotesBlob notes{kForeignBytes};
    {
        Open o(m_strings, TRUE, &notes);
        QVERIFY(o.dlg.GetInkWnd()->IsForeign());
        InkMouseStroke(o.Inner(), {{20, 100}, {200, 120}});
        o.Click(ID_NOTES_PENMODE);
        QTest::keyClicks(o.Inner(), QStringLiteral("typed"));
        CScriptedMessageBox boxes({IDNO});
        o.Click(ID_NOTES_CLEARALL);
        const QImage image = InkRender(&o.dlg);
        image.save(InkTestOutputPath(QStringLiteral("notes_editor_unreadable.png")));
        QVERIFY(InkDarkPixels(image, QRect(0, 0, 240, 40)) > 0);
        o.Click(ID_NOTES_SAVE);
        QCOMPARE(o.dlg.result(), IDOK);
        QCOMPARE(notes.bytes, kForeignBytes);
    }
    Open o(m_strings, FALSE, &notes);
    CScriptedMessageBox boxes({IDYES});
    o.Click(ID_NOTES_CLEARALL);
    QTest::keyClicks(o.Inner(), QStringLiteral("new"));
    o.Click(ID_NOTES_SAVE);
    QCOMPARE(NotesOf(notes).m_strText, QStringLiteral("new"));
}

void TestNotesDlg::coversTheMainWindowWithTheBarAtTheBottom_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("handheld screen") << QSize(240, 320);
    QTest::newRow("larger window") << QSize(480, 640);
}

void TestNotesDlg::coversTheMainWindowWithTheBarAtTheBottom()
{
    QFETCH(QSize, size);
    NotesBlob notes;
    Open o(m_strings, TRUE, &notes, size);
    QCOMPARE(o.dlg.geometry(), o.main.geometry());
    const QRect rcBar = o.dlg.GetToolBar()->geometry();
    const QRect rcInk = o.dlg.GetInkWnd()->geometry();
    QCOMPARE(rcBar.bottom(), size.height() - 1);
    QCOMPARE(rcInk.top(), 0);
    QCOMPARE(rcInk.bottom() + 1, rcBar.top());
    QCOMPARE(rcInk.width(), size.width());
    // Every button fits on the bar: none is hidden behind its extension arrow.
    for (int nCommand : {ID_NOTES_SAVE, ID_NOTES_CANCEL, ID_NOTES_PENMODE, ID_NOTES_CLEARALL}) {
        QToolButton* pButton = o.Button(nCommand);
        QVERIFY(pButton->isVisible());
        QVERIFY(rcBar.contains(pButton->mapTo(&o.dlg, pButton->rect().bottomRight())));
        QVERIFY(pButton->width() >= 23 && pButton->height() >= 22);
    }
}

void TestNotesDlg::picturesOfTheEditor()
{
    NotesBlob notes;
    {
        Open o(m_strings, TRUE, &notes);
        // "Hi" and an underline, written with the pen below where the text will go.
        InkMouseStroke(o.Inner(), {{20, 60}, {20, 80}, {20, 100}, {21, 120}});
        InkMouseStroke(o.Inner(), {{50, 58}, {50, 80}, {51, 100}, {50, 120}});
        InkMouseStroke(o.Inner(), {{20, 90}, {35, 89}, {50, 90}});
        InkMouseStroke(o.Inner(), {{72, 85}, {72, 102}, {73, 120}});
        InkMouseStroke(o.Inner(), {{72, 68}, {73, 70}});
        InkMouseStroke(o.Inner(), {{16, 140}, {50, 144}, {90, 138}, {130, 142}, {170, 136}});
        const QImage image = InkRender(&o.dlg);
        image.save(InkTestOutputPath(QStringLiteral("notes_editor_pen.png")));
        QVERIFY(InkDarkPixels(image, QRect(15, 60, 10, 60)) > 0);
        o.Click(ID_NOTES_PENMODE);
        QTest::keyClicks(o.Inner(), QStringLiteral("Typed line"));
        QTest::keyClick(o.Inner(), Qt::Key_Return);
        InkCommitText(o.Inner(), QStringLiteral("둘째 줄"));
        InkRender(&o.dlg).save(InkTestOutputPath(QStringLiteral("notes_editor_keyboard.png")));
        o.Click(ID_NOTES_SAVE);
    }
    QCOMPARE(NotesOf(notes).m_strokes.size(), 6);
}

QTEST_MAIN(TestNotesDlg)
#include "tst_NotesDlg.moc"
