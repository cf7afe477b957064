#include "controls/CWeekCalendar.h"
#include "calendar/CivilDays.h"
#include "calendar/DateTime.h"
#include "controls/GdiDraw.h"
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kMinWidth = 100;
constexpr int kMinHeight = 50;
constexpr int kFontSize = 8;
constexpr int kSaturdayColumn = 5;  // columns run Monday (0) to Sunday (6)
constexpr int kSundayColumn = 6;
// DateTime counts seconds up to 2106-02-07, so the picked day must lie before 2106.
constexpr int kFirstYear = 1970;
constexpr int kEndYear = 2106;

}  // namespace

CWeekCalendar::CWeekCalendar(QWidget* pParent)
    : CWndEx(pParent)
{
    const DateTime now = DateTime::GetCurrentTime();
    m_nYear = m_nTodayYear = now.GetYear();
    m_nMonth = m_nTodayMonth = now.GetMonth();
    m_nDay = m_nTodayDay = now.GetDay();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Like a window that is never activated: a tap picks a date, the focus stays put.
    setFocusPolicy(Qt::NoFocus);
}

CWeekCalendar::~CWeekCalendar() = default;

namespace {

bool IsCalendarDate(int nYear, int nMonth, int nDay)
{
    return nYear >= kFirstYear && nYear < kEndYear && nMonth >= 1 && nMonth <= 12 && nDay >= 1
        && nDay <= DaysInMonth(nYear, nMonth);
}

}  // namespace

void CWeekCalendar::SetDate(int nYear, int nMonth, int nDay)
{
    if (!IsCalendarDate(nYear, nMonth, nDay))
        return;
    m_nYear = nYear;
    m_nMonth = nMonth;
    m_nDay = nDay;
}

void CWeekCalendar::SetToday(int nYear, int nMonth, int nDay)
{
    if (!IsCalendarDate(nYear, nMonth, nDay))
        return;
    m_nTodayYear = nYear;
    m_nTodayMonth = nMonth;
    m_nTodayDay = nDay;
}

void CWeekCalendar::GetDate(DateTime* pDate) const
{
    *pDate = DateTime(m_nYear, m_nMonth, m_nDay, 0, 0, 0);
}

void CWeekCalendar::paintEvent(QPaintEvent* /*pEvent*/)
{
    if (width() < kMinWidth || height() < kMinHeight)
        return;
    PaintBuffered([this](QPainter* pDC) { PaintTo(pDC); });
}

void CWeekCalendar::PaintTo(QPainter* pDC)
{
    const int nWidth = width();
    const int nHeight = height();
    if (nWidth < kMinWidth || nHeight < kMinHeight)
        return;
    FillGdiRect(pDC, 0, 0, nWidth, nHeight, WCAL_CR_BACKGROUND);
    BuildCalendarGrid(m_nYear, m_nMonth, &m_grid);
    DrawGrid(pDC, nWidth);
}

void CWeekCalendar::DrawWeekBar(QPainter* pDC, int y, int nWidth)
{
    DrawGdiLine(pDC, 3, y - 1, nWidth - 2, y - 1, WCAL_CR_WEEKBAR);
    FillGdiRect(pDC, 2, y, nWidth - 1, y + 6, WCAL_CR_WEEKBAR);
    DrawGdiLine(pDC, 3, y + 6, nWidth - 2, y + 6, WCAL_CR_WEEKBAR);
}

void CWeekCalendar::DrawTodayBox(QPainter* pDC, int x, int y)
{
    DrawGdiLine(pDC, x + 2, y - 1, x + 14, y - 1, WCAL_CR_TODAYBOX);
    FillGdiRect(pDC, x + 1, y, x + 15, y + 6, WCAL_CR_TODAYBOX);
    DrawGdiLine(pDC, x + 2, y + 6, x + 14, y + 6, WCAL_CR_TODAYBOX);
}

void CWeekCalendar::UseGridFont(BOOL bBold)
{
    SetFont(QStringLiteral("Lucida Console"), kFontSize, bBold, FALSE, FALSE);
    m_font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
}

void CWeekCalendar::DrawGrid(QPainter* pDC, int nWidth)
{
    for (int r = 0; r < m_grid.nRowCount; ++r) {
        const CalendarRow& row = m_grid.rows[r];
        if (row.nFirstDay <= m_nDay && m_nDay <= row.nLastDay)
            DrawWeekBar(pDC, row.y, nWidth);
        DrawWeekNumber(pDC, row.y, row.nWeek);
        const int nEndDay = std::min(row.nLastDay, m_grid.nDayCount);
        for (int d = row.nFirstDay; d <= nEndDay; ++d) {
            if (d == m_nDay)
                m_nWeek = row.nWeek;
            DrawDay(pDC, d);
        }
    }
}

// At 8 pixels without smoothing the bold face gives the regular face's pixels, so the
// number is struck twice, one pixel apart, as bitmap fonts were made bold.
void CWeekCalendar::DrawWeekNumber(QPainter* pDC, int y, int nWeek)
{
    UseGridFont(TRUE);
    const QString strWeek = QString::number(nWeek);
    DrawTextInRect(pDC, -1, y, WCAL_WEEK_RIGHT, WCAL_ROW_HEIGHT, strWeek, DT_RIGHT, WCAL_CR_TEXT);
    DrawTextInRect(pDC, 0, y, WCAL_WEEK_RIGHT, WCAL_ROW_HEIGHT, strWeek, DT_RIGHT, WCAL_CR_TEXT);
    UseGridFont(FALSE);
}

void CWeekCalendar::DrawDay(QPainter* pDC, int nDay)
{
    const RECT& rc = m_grid.cells[nDay - 1].rc;
    const int nColumn = (m_grid.nFirstColumn + nDay - 1) % 7;
    COLORREF cr = nColumn == kSundayColumn ? WCAL_CR_SUNDAY : nColumn == kSaturdayColumn ? WCAL_CR_SATURDAY : WCAL_CR_TEXT;
    if (m_nYear == m_nTodayYear && m_nMonth == m_nTodayMonth && nDay == m_nTodayDay) {
        DrawTodayBox(pDC, rc.left, rc.top);
        cr = WCAL_CR_TODAYTEXT;
    }
    DrawTextInRect(pDC, rc.left, rc.top, WCAL_CELL_WIDTH, WCAL_ROW_HEIGHT, QString::number(nDay), DT_RIGHT, cr);
}

void CWeekCalendar::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        CWndEx::mousePressEvent(pEvent);
        return;
    }
    // Accepted without the base handling, so the tap does not travel on to the parent;
    // the receiver of the notification may also have deleted this window.
    const QPoint pt = pEvent->position().toPoint();
    OnLButtonDown(pt.x(), pt.y());
}

void CWeekCalendar::OnLButtonDown(int x, int y)
{
    const int nHit = HitCalendarCell(m_grid, x, y);
    if (nHit < 0)
        return;
    const CalendarCell& cell = m_grid.cells[nHit];
    // The leading cell of January 1970 picks a day the date type cannot hold.
    if (cell.nYear < kFirstYear || cell.nYear >= kEndYear)
        return;
    m_nYear = cell.nYear;
    m_nMonth = cell.nMonth;
    m_nDay = cell.nDay;
    NMWEEKCALENDAR nm;
    nm.nOldWeek = m_nWeek;
    nm.nNewWeek = cell.nWeek;
    m_nWeek = cell.nWeek;
    SendNotify(&nm.hdr, WCN_DATEPICKED);
}
