#include "ink/CInkCanvas.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTabletEvent>
#include <QTouchEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kTextPixelSize = 12;  // typed text at zoom 100
constexpr int kPenWidth = 2;        // page pixels
constexpr COLORREF kPenColor = 0x00000000;
constexpr QRgb kRuleColor = 0xFFC8DCF0;
constexpr QRgb kUnreadableColor = 0xFF707070;
// Room below the content, as a share of the window height, so there is always space to
// write further down.
constexpr int kSpareHeightDivisor = 3;

QColor ColorOf(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

// A smooth path through the points: quadratic pieces between the midpoints, so a stroke
// sampled by a moving pen has no corners at its samples.
QPainterPath StrokePath(const QVector<QPoint>& points)
{
    QPainterPath path(points.front());
    for (qsizetype i = 1; i + 1 < points.size(); ++i) {
        const QPointF mid = (QPointF(points[i]) + QPointF(points[i + 1])) / 2;
        path.quadTo(points[i], mid);
    }
    if (points.size() > 1)
        path.lineTo(points.back());
    return path;
}

void DrawStroke(QPainter* pPainter, const CInkStroke& stroke)
{
    if (stroke.points.isEmpty())
        return;
    QPen pen(ColorOf(stroke.crColor), std::max(1, stroke.nWidth), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pPainter->setPen(pen);
    pPainter->setBrush(Qt::NoBrush);
    if (stroke.points.size() == 1)
        pPainter->drawPoint(stroke.points.front());
    else
        pPainter->drawPath(StrokePath(stroke.points));
}

QRect StrokeBounds(const CInkStroke& stroke)
{
    QRect rc;
    for (const QPoint& pt : stroke.points)
        rc |= QRect(pt, QSize(1, 1));
    const int nPad = stroke.nWidth + 1;
    return rc.adjusted(-nPad, -nPad, nPad, nPad);
}

// Pasted text as the notes hold it: "\n" line ends, tabs kept, other control characters
// dropped.
QString PlainTextForNotes(QString strText)
{
    strText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    strText.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    strText.removeIf([](QChar c) { return c.category() == QChar::Other_Control && c != u'\n' && c != u'\t'; });
    return strText;
}

}  // namespace

CInkCanvas::CInkCanvas(QWidget* pParent)
    : QWidget(pParent)
{
    m_font = QFont(QStringLiteral("Tahoma"));
    m_font.setPixelSize(kTextPixelSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_AcceptTouchEvents);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    UpdateCursorShape();
    Relayout();
}

CInkCanvas::~CInkCanvas()
{
    EndStroke();
}

void CInkCanvas::SetScrollBar(QScrollBar* pScrollBar)
{
    m_pScrollBar = pScrollBar;
    if (pScrollBar != nullptr)
        connect(pScrollBar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    Relayout();
}

void CInkCanvas::Load(const QByteArray& bytes)
{
    EndStroke();
    m_page.Load(bytes);
    m_nCaret = static_cast<int>(m_page.GetText().size());
    Relayout();
    if (m_pScrollBar)
        m_pScrollBar->setValue(0);
    update();
}

void CInkCanvas::Clear()
{
    EndStroke();
    m_page.Clear();
    m_nCaret = 0;
    Relayout();
    if (m_pScrollBar)
        m_pScrollBar->setValue(0);
    update();
}

void CInkCanvas::SetInputMode(int nMode)
{
    m_nInputMode = nMode;
    EndStroke();
    UpdateCursorShape();
    update();
}

void CInkCanvas::SetViewMode(int nView)
{
    m_nView = nView;
    UpdateCursorShape();
    update();
}

void CInkCanvas::SetPageStyle(int nStyle)
{
    m_nPageStyle = nStyle;
    update();
}

void CInkCanvas::SetZoom(int nZoom)
{
    m_nZoom = std::clamp(nZoom, kInkMinZoom, kInkMaxZoom);
    EndStroke();
    Relayout();
    ScrollToCaret();
    update();
}

void CInkCanvas::SetReadOnly(BOOL bReadOnly)
{
    m_bReadOnly = bReadOnly;
    EndStroke();
    setFocusPolicy(bReadOnly ? Qt::NoFocus : Qt::StrongFocus);
    if (bReadOnly && hasFocus())
        clearFocus();
    UpdateCursorShape();
    update();
}

void CInkCanvas::SetUnreadableText(const QString& strText)
{
    m_strUnreadable = strText;
    update();
}

int CInkCanvas::ScrollY() const
{
    return m_pScrollBar ? m_pScrollBar->value() : 0;
}

QPointF CInkCanvas::ToPage(const QPointF& pt) const
{
    return QPointF(pt.x(), pt.y() + ScrollY()) / Scale();
}

QRect CInkCanvas::ToWidget(const QRectF& rcPage) const
{
    const QRectF rc(rcPage.topLeft() * Scale(), rcPage.size() * Scale());
    return rc.translated(0, -ScrollY()).toAlignedRect().adjusted(-1, -1, 1, 1);
}

int CInkCanvas::ContentHeight() const
{
    qreal rBottom = m_layout.Height();
    for (const CInkStroke& stroke : m_page.GetNotes().m_strokes)
        rBottom = std::max<qreal>(rBottom, StrokeBounds(stroke).bottom());
    return static_cast<int>(std::ceil(rBottom * Scale()));
}

void CInkCanvas::Relayout()
{
    const int nPageWidth = static_cast<int>(width() / Scale());
    std::vector<QRectF> inkBounds;
    for (const CInkStroke& stroke : m_page.GetNotes().m_strokes)
        inkBounds.push_back(StrokeBounds(stroke));
    m_layout.Build(m_page.GetText(), m_font, nPageWidth, inkBounds);
    if (!m_pScrollBar)
        return;
    const int nTotal = ContentHeight() + height() / kSpareHeightDivisor;
    m_pScrollBar->setRange(0, std::max(0, nTotal - height()));
    m_pScrollBar->setPageStep(std::max(1, height()));
    m_pScrollBar->setSingleStep(std::max(1, static_cast<int>(m_layout.LineSpacing() * Scale())));
}

void CInkCanvas::UpdateCursorShape()
{
    if (m_bReadOnly)
        setCursor(Qt::ArrowCursor);
    else if (m_nInputMode == kInkInputPen || m_nView == kInkViewWriting)
        setCursor(Qt::CrossCursor);
    else
        setCursor(Qt::IBeamCursor);
}

void CInkCanvas::SetCaret(int nPos)
{
    const int nOld = m_nCaret;
    m_nCaret = std::clamp(nPos, 0, static_cast<int>(m_page.GetText().size()));
    update(ToWidget(m_layout.CaretRect(nOld)));
    ScrollToCaret();
    update(ToWidget(m_layout.CaretRect(m_nCaret)));
}

void CInkCanvas::ScrollToCaret()
{
    if (!m_pScrollBar || !CanEdit())
        return;
    const QRectF rc = m_layout.CaretRect(m_nCaret);
    const int nTop = static_cast<int>(rc.top() * Scale());
    const int nBottom = static_cast<int>(std::ceil(rc.bottom() * Scale()));
    if (nTop < ScrollY())
        m_pScrollBar->setValue(nTop);
    else if (nBottom > ScrollY() + height())
        m_pScrollBar->setValue(nBottom - height());
}

void CInkCanvas::InsertTyped(const QString& strText)
{
    m_page.InsertText(m_nCaret, strText);
    m_nCaret += static_cast<int>(strText.size());
    Relayout();
    ScrollToCaret();
    update();
}

void CInkCanvas::PenDown(const QPointF& pt)
{
    if (!CanEdit())
        return;
    if (focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    if (m_nInputMode != kInkInputPen) {
        SetCaret(m_layout.PositionAt(ToPage(pt)));
        return;
    }
    BeginStroke();
    m_stroke = CInkStroke();
    m_stroke.nWidth = kPenWidth;
    m_stroke.crColor = kPenColor;
    m_stroke.points.append(ToPage(pt).toPoint());
    UpdateStrokeTail();
}

void CInkCanvas::PenMove(const QPointF& pt)
{
    if (!m_bPenDown)
        return;
    const QPoint ptPage = ToPage(pt).toPoint();
    if (ptPage == m_stroke.points.back())
        return;
    m_stroke.points.append(ptPage);
    UpdateStrokeTail();
}

void CInkCanvas::PenUp(const QPointF& pt)
{
    if (!m_bPenDown)
        return;
    PenMove(pt);
    EndStroke();
    m_page.AddStroke(m_stroke);
    m_stroke = CInkStroke();
    Relayout();
    update();
}

// The window system merges pointer moves that come faster than the program handles them;
// while the pen writes, every sample is wanted, so merging is off until the pen lifts.
void CInkCanvas::BeginStroke()
{
    if (!m_bPenDown)
        m_bCompressedMoves = QGuiApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents);
    m_bPenDown = true;
    QGuiApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
}

void CInkCanvas::EndStroke()
{
    if (!m_bPenDown)
        return;
    m_bPenDown = false;
    QGuiApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, m_bCompressedMoves);
}

// Repaints only the end of the stroke being written: the last piece of its path runs
// through the last three samples.
void CInkCanvas::UpdateStrokeTail()
{
    CInkStroke tail;
    tail.nWidth = m_stroke.nWidth;
    tail.points = m_stroke.points.mid(std::max<qsizetype>(0, m_stroke.points.size() - 3));
    update(ToWidget(StrokeBounds(tail)));
}

void CInkCanvas::paintEvent(QPaintEvent* pEvent)
{
    QPainter painter(this);
    PaintPage(&painter, pEvent->rect());
}

void CInkCanvas::PaintPage(QPainter* pPainter, const QRect& rcClip)
{
    pPainter->fillRect(rcClip, Qt::white);
    if (m_page.IsForeign()) {
        pPainter->setPen(QColor::fromRgb(kUnreadableColor));
        pPainter->setFont(m_font);
        const QRect rcText = rect().adjusted(kInkTextMargin * 2, kInkTextMargin * 2, -kInkTextMargin * 2, 0);
        pPainter->drawText(rcText, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_strUnreadable);
        return;
    }
    pPainter->setRenderHint(QPainter::Antialiasing);
    pPainter->translate(0, -ScrollY());
    pPainter->scale(Scale(), Scale());
    if (m_nPageStyle == kInkPageLined && m_layout.LineSpacing() > 0) {
        pPainter->setPen(QPen(QColor::fromRgb(kRuleColor), 0));
        const qreal rStep = m_layout.LineSpacing();
        const qreal rBottom = (ScrollY() + height()) / Scale();
        const qreal rRight = width() / Scale();
        for (qreal y = kInkTextMargin + rStep; y <= rBottom + rStep; y += rStep)
            pPainter->drawLine(QPointF(0, y - 0.5), QPointF(rRight, y - 0.5));
    }
    pPainter->setPen(Qt::black);
    m_layout.Draw(pPainter);
    for (const CInkStroke& stroke : m_page.GetNotes().m_strokes)
        DrawStroke(pPainter, stroke);
    if (m_bPenDown)
        DrawStroke(pPainter, m_stroke);
    // The caret shows where typing goes; in pen mode it would only stand in the writing.
    if (hasFocus() && CanEdit() && m_nInputMode == kInkInputKeyboard)
        pPainter->fillRect(m_layout.CaretRect(m_nCaret), Qt::black);
}

void CInkCanvas::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    Relayout();
}

void CInkCanvas::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        pEvent->ignore();
        return;
    }
    PenDown(pEvent->position());
}

void CInkCanvas::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (pEvent->buttons() & Qt::LeftButton)
        PenMove(pEvent->position());
}

void CInkCanvas::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        PenUp(pEvent->position());
}

// Taking the tablet and touch events ourselves keeps their sub-pixel positions and stops
// Qt from turning them into mouse events as well.
void CInkCanvas::tabletEvent(QTabletEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::TabletPress:
        PenDown(pEvent->position());
        break;
    case QEvent::TabletMove:
        PenMove(pEvent->position());
        break;
    case QEvent::TabletRelease:
        PenUp(pEvent->position());
        break;
    default:
        break;
    }
    pEvent->accept();
}

bool CInkCanvas::event(QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
        auto* pTouch = static_cast<QTouchEvent*>(pEvent);
        if (pTouch->points().isEmpty())
            return true;
        const QPointF pt = pTouch->points().front().position();
        if (pEvent->type() == QEvent::TouchBegin)
            PenDown(pt);
        else if (pEvent->type() == QEvent::TouchUpdate)
            PenMove(pt);
        else
            PenUp(pt);
        pEvent->accept();
        return true;
    }
    case QEvent::TouchCancel:
        EndStroke();
        update();
        return true;
    default:
        return QWidget::event(pEvent);
    }
}

void CInkCanvas::wheelEvent(QWheelEvent* pEvent)
{
    if (!m_pScrollBar) {
        pEvent->ignore();
        return;
    }
    m_pScrollBar->setValue(m_pScrollBar->value() - pEvent->angleDelta().y() * m_pScrollBar->singleStep() / 40);
}

BOOL CInkCanvas::HandleEditKey(QKeyEvent* pEvent)
{
    if (pEvent->matches(QKeySequence::Paste)) {
        InsertTyped(PlainTextForNotes(QGuiApplication::clipboard()->text()));
        return TRUE;
    }
    const bool bCtrl = pEvent->modifiers() & Qt::ControlModifier;
    const int nTextEnd = static_cast<int>(m_page.GetText().size());
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        InsertTyped(QStringLiteral("\n"));
        return TRUE;
    case Qt::Key_Backspace: {
        const int nFrom = m_layout.PreviousPosition(m_nCaret);
        m_page.RemoveText(nFrom, m_nCaret - nFrom);
        m_nCaret = nFrom;
        Relayout();
        ScrollToCaret();
        update();
        return TRUE;
    }
    case Qt::Key_Delete:
        m_page.RemoveText(m_nCaret, m_layout.NextPosition(m_nCaret) - m_nCaret);
        Relayout();
        update();
        return TRUE;
    case Qt::Key_Left:
        SetCaret(m_layout.PreviousPosition(m_nCaret));
        return TRUE;
    case Qt::Key_Right:
        SetCaret(m_layout.NextPosition(m_nCaret));
        return TRUE;
    case Qt::Key_Up:
        SetCaret(m_layout.PositionOnLine(m_nCaret, -1));
        return TRUE;
    case Qt::Key_Down:
        SetCaret(m_layout.PositionOnLine(m_nCaret, 1));
        return TRUE;
    case Qt::Key_Home:
        SetCaret(bCtrl ? 0 : m_layout.LineStart(m_nCaret));
        return TRUE;
    case Qt::Key_End:
        SetCaret(bCtrl ? nTextEnd : m_layout.LineEnd(m_nCaret));
        return TRUE;
    default:
        break;
    }
    const QString strText = pEvent->text();
    const bool bCommand = pEvent->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (bCommand || strText.isEmpty() || !strText.front().isPrint())
        return FALSE;
    InsertTyped(strText);
    return TRUE;
}

void CInkCanvas::keyPressEvent(QKeyEvent* pEvent)
{
    // Escape and Tab always belong to the dialog.
    if (!CanEdit() || pEvent->key() == Qt::Key_Escape || pEvent->key() == Qt::Key_Tab
        || pEvent->key() == Qt::Key_Backtab || !HandleEditKey(pEvent)) {
        pEvent->ignore();
        return;
    }
    pEvent->accept();
}

void CInkCanvas::inputMethodEvent(QInputMethodEvent* pEvent)
{
    if (CanEdit() && !pEvent->commitString().isEmpty())
        InsertTyped(pEvent->commitString());
    pEvent->accept();
}

void CInkCanvas::focusInEvent(QFocusEvent* pEvent)
{
    QWidget::focusInEvent(pEvent);
    update();
}

void CInkCanvas::focusOutEvent(QFocusEvent* pEvent)
{
    QWidget::focusOutEvent(pEvent);
    update();
}
