// The ink control driven as a person would: pen strokes from mouse, touch and tablet,
// typed text, the mode settings and the streams, and the read-only preview.
#include "ink/CInkWnd.h"
#include "ink/NotesPreview.h"
#include "tests/support/ink_helper.h"
#include "ink/CInkTextLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTabletEvent>
#include <QtTest>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 200;

// A host window with one ink control filling it, shown and active.
struct InkHost {
    QWidget host;
    CInkWnd ink;
    explicit InkHost(DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL)
    {
        host.resize(kWidth, kHeight);
        ink.Create(dwStyle, RECT{0, 0, kWidth, kHeight}, &host, kInkCtrlId);
        host.show();
        QApplication::setActiveWindow(&host);
    }
    CInkCanvas* Inner() { return ink.GetInner(); }
};

NotesBlob Save(CInkWnd* pInk)
{
    NotesBlob blob;
    StreamNotesOut(pInk, &blob);
    return blob;
}

CNotesData Notes(const NotesBlob& blob)
{
    CNotesData notes;
    if (!notes.FromBytes(blob.bytes))
        qWarning("not notes bytes");
    return notes;
}

QVector<QPoint> Halved(const QVector<QPoint>& points)
{
    QVector<QPoint> half;
    for (const QPoint& pt : points)
        half.append(pt / 2);
    return half;
}

}  // namespace

class TestInkWnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InkInitTest(); }

    void strokesAndTypedTextSurviveSavingAndReopening();
    void strokeIsDrawnWhileThePenMoves();
    void zoomScalesStrokesAndText_data();
    void zoomScalesStrokesAndText();
    void touchAndTabletWriteStrokes();
    void keysEditTheTextAtTheCaret_data();
    void keysEditTheTextAtTheCaret();
    void tapInKeyboardModePlacesTheCaret();
    void typingScrollsTheCaretIntoView();
    void pasteInsertsPlainTextAtTheCaret();
    void penWritesWhereThePageIsScrolledTo();
    void modeSettingsReachTheInnerWindow();
    void unreadableBytesAreShownAsSuchAndComeBackUnchanged();
    void clearAllEmptiesTheControl();
    void withoutInnerWindowEveryOperationDoesNothing();
    void aFailingStreamStopsAndReportsItsError();
    void readOnlyPreviewShowsNotesAndTakesNoInput();
    void typedLinesGoAroundHandwriting();
};

void TestInkWnd::strokesAndTypedTextSurviveSavingAndReopening()
{
    InkHost h;
    h.ink.ApplyModeSettings(kInkPenSettings);
    const QVector<QPoint> first = {{20, 20}, {40, 30}, {60, 50}, {80, 40}};
    const QVector<QPoint> second = {{100, 100}, {120, 140}};
    InkMouseStroke(h.Inner(), first);
    InkMouseStroke(h.Inner(), second);
    h.ink.ApplyModeSettings(kInkKeyboardSettings);
    QTest::keyClicks(h.Inner(), QStringLiteral("Buy milk"));
    QTest::keyClick(h.Inner(), Qt::Key_Return);
    QTest::keyClicks(h.Inner(), QStringLiteral("2 L"));

    const NotesBlob blob = Save(&h.ink);
    const CNotesData notes = Notes(blob);
    QCOMPARE(notes.m_strText, QStringLiteral("Buy milk\n2 L"));
    QCOMPARE(notes.m_strokes.size(), 2);
    // Written at zoom 200: page pixels are half the window's.
    QCOMPARE(notes.m_strokes[0].points, Halved(first));
    QCOMPARE(notes.m_strokes[1].points, Halved(second));

    InkHost reopened;
    QCOMPARE(StreamNotesIn(&reopened.ink, blob), blob.GetCount());
    QCOMPARE(reopened.Inner()->GetPage().GetNotes(), notes);
    QCOMPARE(Save(&reopened.ink).bytes, blob.bytes);
}

void TestInkWnd::strokeIsDrawnWhileThePenMoves()
{
    InkHost h;
    h.ink.ApplyModeSettings(kInkPenSettings);
    QVERIFY(InkDarkPixels(InkRender(h.Inner()), QRect(20, 60, 100, 10)) == 0);
    const bool bCompressed = QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 64), QPointF(20, 64), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(h.Inner(), &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(120, 64), QPointF(120, 64), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(h.Inner(), &move);
    // Not released yet: the stroke already shows along its whole length.
    const QImage image = InkRender(h.Inner());
    QVERIFY(InkDarkPixels(image, QRect(22, 62, 10, 5)) > 0);
    QVERIFY(InkDarkPixels(image, QRect(108, 62, 10, 5)) > 0);
    QCOMPARE(h.Inner()->GetPage().GetNotes().m_strokes.size(), 0);
    // Every sample counts while writing: pointer moves are not merged.
    QVERIFY(!QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(120, 64), QPointF(120, 64), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(h.Inner(), &release);
    QCOMPARE(h.Inner()->GetPage().GetNotes().m_strokes.size(), 1);
    QCOMPARE(QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents), bCompressed);
}

void TestInkWnd::zoomScalesStrokesAndText_data()
{
    QTest::addColumn<int>("nZoom");
    QTest::newRow("pen 200") << 200;
    QTest::newRow("keyboard 100") << 100;
    QTest::newRow("preview 95") << 95;
}

// A horizontal stroke at page y 60 and a line of capitals: both appear at the zoomed
// position, and the text's ink grows with the zoom.
void TestInkWnd::zoomScalesStrokesAndText()
{
    QFETCH(int, nZoom);
    CNotesData notes;
    notes.m_strText = QStringLiteral("MMMM");
    CInkStroke stroke;
    stroke.nWidth = 2;
    stroke.points = {QPoint(10, 60), QPoint(50, 60)};
    notes.m_strokes.append(stroke);
    InkHost h;
    StreamNotesIn(&h.ink, NotesBlob{notes.ToBytes()});
    h.ink.SetZoom(nZoom);
    const QImage image = InkRender(h.Inner());
    const double rScale = nZoom / 100.0;
    const int yStroke = qRound(60 * rScale);
    QVERIFY(InkDarkPixels(image, QRect(qRound(15 * rScale), yStroke - 2, qRound(30 * rScale), 5)) > 0);
    QCOMPARE(InkDarkPixels(image, QRect(0, yStroke + 4, kWidth, 10)), 0);
    // The text stays above the stroke; its dark area grows with the square of the zoom.
    const int nTextInk = InkDarkPixels(image, QRect(0, 0, kWidth, yStroke - 4));
    InkHost plain;
    StreamNotesIn(&plain.ink, NotesBlob{notes.ToBytes()});
    plain.ink.SetZoom(100);
    const int nPlainInk = InkDarkPixels(InkRender(plain.Inner()), QRect(0, 0, kWidth, 56));
    QVERIFY(nPlainInk > 0);
    const double rRatio = double(nTextInk) / nPlainInk;
    QVERIFY2(rRatio > 0.7 * rScale * rScale && rRatio < 1.4 * rScale * rScale, qPrintable(QString::number(rRatio)));
}

void TestInkWnd::touchAndTabletWriteStrokes()
{
    InkHost h;
    h.ink.ApplyModeSettings(kInkPenSettings);
    QPointingDevice* pTouch = QTest::createTouchDevice();
    QTest::touchEvent(h.Inner(), pTouch).press(0, QPoint(40, 40));
    QTest::touchEvent(h.Inner(), pTouch).move(0, QPoint(60, 80));
    QTest::touchEvent(h.Inner(), pTouch).release(0, QPoint(80, 80));

    QPointingDevice stylus(QStringLiteral("stylus"), 77, QInputDevice::DeviceType::Stylus,
                           QPointingDevice::PointerType::Pen,
                           QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
    const auto tablet = [&](QEvent::Type type, QPointF pt, Qt::MouseButtons buttons) {
        QTabletEvent event(type, &stylus, pt, h.Inner()->mapToGlobal(pt), 0.5, 0, 0, 0, 0, 0, Qt::NoModifier,
                           Qt::LeftButton, buttons);
        QApplication::sendEvent(h.Inner(), &event);
    };
    tablet(QEvent::TabletPress, QPointF(100, 20), Qt::LeftButton);
    tablet(QEvent::TabletMove, QPointF(110.6, 30.2), Qt::LeftButton);
    tablet(QEvent::TabletRelease, QPointF(130, 30), Qt::NoButton);

    const CNotesData notes = Notes(Save(&h.ink));
    QCOMPARE(notes.m_strokes.size(), 2);
    QCOMPARE(notes.m_strokes[0].points, (QVector<QPoint>{{20, 20}, {30, 40}, {40, 40}}));
    QCOMPARE(notes.m_strokes[1].points, (QVector<QPoint>{{50, 10}, {55, 15}, {65, 15}}));
}

void TestInkWnd::keysEditTheTextAtTheCaret_data()
{
    QTest::addColumn<QString>("strStart");
    QTest::addColumn<QList<int>>("keys");  // a key, or -c for the character c
    QTest::addColumn<QString>("strResult");
    const auto ch = [](char c) { return -int(c); };
    QTest::newRow("typing") << QString() << QList<int>{ch('a'), ch('b')} << QStringLiteral("ab");
    QTest::newRow("enter breaks the line") << QStringLiteral("ab") << QList<int>{Qt::Key_Left, Qt::Key_Enter}
                                           << QStringLiteral("a\nb");
    QTest::newRow("backspace") << QStringLiteral("abc") << QList<int>{Qt::Key_Left, Qt::Key_Backspace}
                               << QStringLiteral("ac");
    QTest::newRow("backspace joins lines") << QStringLiteral("a\nb") << QList<int>{Qt::Key_Left, Qt::Key_Backspace}
                                           << QStringLiteral("ab");
    QTest::newRow("delete") << QStringLiteral("abc") << QList<int>{Qt::Key_Home, Qt::Key_Delete}
                            << QStringLiteral("bc");
    QTest::newRow("up keeps the column") << QStringLiteral("abc\nabc") << QList<int>{Qt::Key_Left, Qt::Key_Up, ch('X')}
                                         << QStringLiteral("abXc\nabc");
    QTest::newRow("down to the end") << QStringLiteral("abc\nd") << QList<int>{Qt::Key_Up, Qt::Key_End, Qt::Key_Down,
                                                                               Qt::Key_Down, ch('X')}
                                     << QStringLiteral("abc\ndX");
    QTest::newRow("ctrl+home") << QStringLiteral("a\nb\nc") << QList<int>{int(Qt::Key_Home) | int(Qt::ControlModifier), ch('X')}
                               << QStringLiteral("Xa\nb\nc");
    QTest::newRow("surrogate pair stays whole") << QStringLiteral("a\U0001F600") << QList<int>{Qt::Key_Backspace}
                                                << QStringLiteral("a");
}

void TestInkWnd::keysEditTheTextAtTheCaret()
{
    QFETCH(QString, strStart);
    QFETCH(QList<int>, keys);
    QFETCH(QString, strResult);
    InkHost h;
    CNotesData notes;
    notes.m_strText = strStart;
    StreamNotesIn(&h.ink, NotesBlob{notes.ToBytes()});  // the caret goes to the end
    for (int nKey : keys) {
        if (nKey < 0)
            QTest::keyClick(h.Inner(), char(-nKey));
        else
            QTest::keyClick(h.Inner(), Qt::Key(nKey & ~Qt::KeyboardModifierMask),
                            Qt::KeyboardModifiers(nKey & Qt::KeyboardModifierMask));
    }
    QCOMPARE(Notes(Save(&h.ink)).m_strText, strResult);
}

void TestInkWnd::tapInKeyboardModePlacesTheCaret()
{
    InkHost h;
    h.ink.ApplyModeSettings(kInkKeyboardSettings);
    QTest::keyClicks(h.Inner(), QStringLiteral("abc"));
    QTest::keyClick(h.Inner(), Qt::Key_Return);
    QTest::keyClicks(h.Inner(), QStringLiteral("def"));
    // The left edge of the second line (one line below the first, at zoom 100).
    InkMouseClick(h.Inner(), QPoint(1, 2 + 12 + 8));
    QTest::keyClick(h.Inner(), 'X');
    QCOMPARE(Notes(Save(&h.ink)).m_strText, QStringLiteral("abc\nXdef"));
    QCOMPARE(h.Inner()->GetPage().GetNotes().m_strokes.size(), 0);
}

void TestInkWnd::typingScrollsTheCaretIntoView()
{
    InkHost h;
    QScrollBar* pBar = h.ink.findChild<QScrollBar*>();
    QVERIFY(pBar != nullptr);
    QCOMPARE(pBar->value(), 0);
    for (int i = 0; i < 30; ++i) {
        QTest::keyClick(h.Inner(), 'x');
        QTest::keyClick(h.Inner(), Qt::Key_Return);
    }
    QVERIFY(pBar->value() > 0);
    QVERIFY(pBar->value() >= pBar->maximum() - kHeight / 2);
}

void TestInkWnd::pasteInsertsPlainTextAtTheCaret()
{
    InkHost h;
    QTest::keyClicks(h.Inner(), QStringLiteral("ab"));
    QTest::keyClick(h.Inner(), Qt::Key_Left);
    QGuiApplication::clipboard()->setText(QStringLiteral("1\r\n2\r3\t4\x01"));
    QTest::keyClick(h.Inner(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Notes(Save(&h.ink)).m_strText, QStringLiteral("a1\n2\n3\t4b"));
}

void TestInkWnd::penWritesWhereThePageIsScrolledTo()
{
    InkHost h;
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(h.Inner(), Qt::Key_Return);
    QScrollBar* pBar = h.ink.findChild<QScrollBar*>();
    pBar->setValue(100);
    QCOMPARE(pBar->value(), 100);
    h.ink.ApplyModeSettings(kInkPenSettings);  // zoom 200 keeps the caret, and so the scroll
    const int nScroll = pBar->value();
    QVERIFY(nScroll > 0);
    InkMouseStroke(h.Inner(), {{10, 10}, {30, 40}});
    const CNotesData notes = Notes(Save(&h.ink));
    QCOMPARE(notes.m_strokes.size(), 1);
    QCOMPARE(notes.m_strokes[0].points,
             (QVector<QPoint>{QPoint(10, 10 + nScroll) / 2, QPoint(30, 40 + nScroll) / 2}));
}

void TestInkWnd::modeSettingsReachTheInnerWindow()
{
    InkHost h;
    h.ink.ApplyModeSettings(kInkPenSettings);
    QCOMPARE(h.Inner()->GetInputMode(), 0);
    QCOMPARE(h.Inner()->GetViewMode(), 2);
    QCOMPARE(h.Inner()->GetPageStyle(), 2);
    QCOMPARE(h.Inner()->GetZoom(), 200);
    h.ink.ApplyModeSettings(kInkKeyboardSettings);
    QCOMPARE(h.Inner()->GetInputMode(), 1);
    QCOMPARE(h.Inner()->GetViewMode(), 0);
    QCOMPARE(h.Inner()->GetPageStyle(), 16);
    QCOMPARE(h.Inner()->GetZoom(), 100);
    // In keyboard mode the pen only places the caret.
    InkMouseStroke(h.Inner(), {{10, 10}, {50, 50}});
    QVERIFY(Save(&h.ink).IsEmpty());
}

void TestInkWnd::unreadableBytesAreShownAsSuchAndComeBackUnchanged()
{
    const QByteArray foreign = QByteArray::fromHex("0001020304fffefd") + QByteArray(5000, 'z');
    InkHost h;
    h.ink.SetUnreadableText(QStringLiteral("These notes cannot be shown here."));
    QCOMPARE(StreamNotesIn(&h.ink, NotesBlob{foreign}), foreign.size());
    QVERIFY(h.ink.IsForeign());
    h.ink.ApplyModeSettings(kInkPenSettings);
    InkMouseStroke(h.Inner(), {{10, 100}, {200, 150}});
    h.ink.ApplyModeSettings(kInkKeyboardSettings);
    QTest::keyClicks(h.Inner(), QStringLiteral("typed"));
    QCOMPARE(Save(&h.ink).bytes, foreign);
    const QImage image = InkRender(h.Inner());
    image.save(InkTestOutputPath(QStringLiteral("ink_unreadable.png")));
    QVERIFY(InkDarkPixels(image, QRect(0, 0, kWidth, 30)) > 0);    // the message
    QCOMPARE(InkDarkPixels(image, QRect(0, 60, kWidth, 140)), 0);  // no stroke
}

void TestInkWnd::clearAllEmptiesTheControl()
{
    InkHost h;
    StreamNotesIn(&h.ink, NotesBlob{QByteArray("someone else's notes")});
    QCOMPARE(h.ink.ClearAll(), 1);
    QVERIFY(!h.ink.IsForeign());
    QVERIFY(Save(&h.ink).IsEmpty());
    QTest::keyClicks(h.Inner(), QStringLiteral("mine"));
    QCOMPARE(Notes(Save(&h.ink)).m_strText, QStringLiteral("mine"));
}

namespace {

class CInkWndWithoutInner : public CInkWnd {
protected:
    CInkCanvas* CreateInner(QWidget*) override { return nullptr; }
};

DWORD CountingRead(uintptr_t dwCookie, uint8_t*, int32_t, int32_t* pcb)
{
    ++*reinterpret_cast<int*>(dwCookie);
    *pcb = 0;
    return 0;
}

}  // namespace

namespace {

DWORD FailingStream(uintptr_t dwCookie, uint8_t*, int32_t cb, int32_t* pcb)
{
    ++*reinterpret_cast<int*>(dwCookie);
    *pcb = cb;
    return 5;
}

}  // namespace

// A read that fails leaves the content as it was; a write that fails stops at once.
void TestInkWnd::aFailingStreamStopsAndReportsItsError()
{
    InkHost h;
    CNotesData notes;
    notes.m_strText = QString(6000, QLatin1Char('x'));  // two chunks
    const NotesBlob blob{notes.ToBytes()};
    StreamNotesIn(&h.ink, blob);
    int nCalls = 0;
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<uintptr_t>(&nCalls);
    stream.pfnCallback = FailingStream;
    QCOMPARE(h.ink.StreamIn(kInkStreamFormat, &stream), 0);
    QCOMPARE(stream.dwError, 5u);
    QCOMPARE(nCalls, 1);
    QCOMPARE(Save(&h.ink).bytes, blob.bytes);
    nCalls = 0;
    stream.dwError = 0;
    QCOMPARE(h.ink.StreamOut(kInkStreamFormat, &stream), 0);
    QCOMPARE(stream.dwError, 5u);
    QCOMPARE(nCalls, 1);
}

void TestInkWnd::withoutInnerWindowEveryOperationDoesNothing()
{
    QWidget host;
    CInkWndWithoutInner ink;
    QVERIFY(ink.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, RECT{0, 0, 100, 100}, &host, kInkCtrlId));
    QVERIFY(ink.GetInner() == nullptr);
    int nCalls = 0;
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<uintptr_t>(&nCalls);
    stream.pfnCallback = CountingRead;
    QCOMPARE(ink.StreamIn(kInkStreamFormat, &stream), 0);
    QCOMPARE(ink.StreamOut(kInkStreamFormat, &stream), 0);
    QCOMPARE(nCalls, 0);
    QCOMPARE(ink.ClearAll(), 0);
    QCOMPARE(ink.SetInputMode(1), 0);
    QCOMPARE(ink.SetViewMode(0), 0);
    QCOMPARE(ink.SetPageStyle(16), 0);
    QCOMPARE(ink.SetZoom(100), 0);
    NotesBlob blob{QByteArray("old")};
    StreamNotesOut(&ink, &blob);
    QVERIFY(blob.IsEmpty());
}

void TestInkWnd::readOnlyPreviewShowsNotesAndTakesNoInput()
{
    // An editor-sized window with the preview from y = 138 down to the bottom.
    QWidget dialog;
    dialog.resize(240, 320);
    dialog.setStyleSheet(QStringLiteral("background: #d8d8d8"));
    CNotesData notes;
    notes.m_strText = QStringLiteral("Bring the slides\n발표 자료");
    CInkStroke loop;
    loop.nWidth = 2;
    for (int i = 0; i <= 40; ++i) {
        const double t = i * 6.2832 / 40;
        loop.points.append(QPoint(170 + int(25 * std::cos(t)), 60 + int(18 * std::sin(t))));
    }
    CInkStroke underline;
    underline.nWidth = 2;
    underline.points = {{8, 40}, {60, 44}, {120, 40}};
    notes.m_strokes = {loop, underline};
    const NotesBlob blob{notes.ToBytes()};
    CInkWnd preview;
    QVERIFY(CreateNotesPreview(&preview, &dialog, RECT{0, 138, 240, 320}, InkTestStrings(), blob));
    QCOMPARE(preview.geometry(), QRect(-1, 138, 242, 183));
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QCOMPARE(preview.GetInner()->GetZoom(), 100);
    QCOMPARE(preview.GetInner()->GetInputMode(), kInkInputKeyboard);

    InkMouseStroke(preview.GetInner(), {{10, 100}, {100, 120}});
    QTest::keyClicks(preview.GetInner(), QStringLiteral("typed"));
    QCOMPARE(Save(&preview).bytes, blob.bytes);
    QVERIFY(!preview.GetInner()->hasFocus());

    const QImage image = InkRender(&dialog);
    image.save(InkTestOutputPath(QStringLiteral("ink_preview.png")));
    QVERIFY(InkDarkPixels(image, QRect(0, 139, 100, 16)) > 0);        // text
    QVERIFY(InkDarkPixels(image, QRect(140, 138 + 36, 10, 50)) > 0);  // the loop's left side
    QCOMPARE(InkDarkPixels(image, QRect(0, 138 + 110, 200, 60)), 0);  // nothing was drawn

    RefreshNotesPreview(&preview, NotesBlob());
    QVERIFY(Save(&preview).IsEmpty());
    QCOMPARE(preview.GetInner()->GetZoom(), kInkPreviewEditedZoom);
}

void TestInkWnd::typedLinesGoAroundHandwriting()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    // Handwriting from y 20 to 60 and from 70 to 80, the first typed line above it.
    const std::vector<QRectF> ink = {QRectF(5, 20, 100, 40), QRectF(50, 70, 30, 10)};
    CInkTextLayout layout;
    layout.Build(QStringLiteral("first\nsecond\nthird"), font, 200, ink);
    const qreal rLine = layout.LineSpacing();
    QVERIFY(rLine > 0 && rLine < 18);
    QCOMPARE(layout.CaretRect(0).top(), qreal(kInkTextMargin));
    // "second" would start at 2 + one line and cross the ink: it goes below all of it.
    QCOMPARE(layout.CaretRect(6).top(), qreal(80));
    QCOMPARE(layout.CaretRect(13).top(), 80 + rLine);
    for (int nPos : {0, 6, 13}) {
        const QRectF line = layout.CaretRect(nPos);
        for (const QRectF& rc : ink)
            QVERIFY2(line.bottom() <= rc.top() || line.top() >= rc.bottom(), qPrintable(QString::number(nPos)));
    }
    // Each line is still found where it is drawn.
    QCOMPARE(layout.PositionAt(QPointF(3, 82)), 6);
    QCOMPARE(layout.Height(), 80 + 2 * rLine);
}

QTEST_MAIN(TestInkWnd)
#include "tst_InkWnd.moc"
