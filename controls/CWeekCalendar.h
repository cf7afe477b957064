#pragma once
// The small month grid at the top of the week pane: weeks as rows (Monday first) with
// their ISO week numbers, the shown week as a bar, today in a box. A tap picks a date
// and reports it with an NMWEEKCALENDAR record; the receiver repaints the control.
#include "controls/CWndEx.h"
#include "controls/CalendarGrid.h"

class DateTime;

struct NMWEEKCALENDAR {
    NMHDR hdr;
    int32_t nNewWeek = 0;  // week number of the picked cell
    int32_t nOldWeek = 0;  // the picked week before the tap
};

constexpr unsigned WCN_DATEPICKED = 1;

// Colours of the grid (COLORREF).
constexpr COLORREF WCAL_CR_BACKGROUND = 0xFFFFFF;
constexpr COLORREF WCAL_CR_WEEKBAR = 0xE1D7CD;
constexpr COLORREF WCAL_CR_TODAYBOX = 0xC37D7D;
constexpr COLORREF WCAL_CR_TODAYTEXT = 0xFFFFFF;
constexpr COLORREF WCAL_CR_SATURDAY = 0xFF8000;
constexpr COLORREF WCAL_CR_SUNDAY = 0x9600FF;
constexpr COLORREF WCAL_CR_TEXT = 0x000000;

class CWeekCalendar : public CWndEx {
    Q_OBJECT
public:
    // Shows today's month with today picked.
    explicit CWeekCalendar(QWidget* pParent = nullptr);
    ~CWeekCalendar() override;

    // Ignored unless 1970 <= year < 3001, 1 <= month < 13 and 1 <= day < 32. Does not
    // repaint; the caller invalidates.
    void SetDate(int nYear, int nMonth, int nDay);
    // The picked day at 00:00:00.
    void GetDate(DateTime* pDate) const;
    // Moves the today box (the date moved on while the program runs); the same limits as
    // SetDate. Does not repaint.
    void SetToday(int nYear, int nMonth, int nDay);
    int GetTodayYear() const { return m_nTodayYear; }
    int GetTodayMonth() const { return m_nTodayMonth; }
    int GetTodayDay() const { return m_nTodayDay; }

    int GetWeek() const { return m_nWeek; }
    const CalendarGrid& GetGrid() const { return m_grid; }
    // Paints the whole client area into pDC as one paint would (rebuilds the cells).
    void PaintTo(QPainter* pDC);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void OnLButtonDown(int x, int y);

private:
    void DrawWeekBar(QPainter* pDC, int y, int nWidth);
    void DrawTodayBox(QPainter* pDC, int x, int y);
    void DrawGrid(QPainter* pDC, int nWidth);
    // The row's ISO week number, right-aligned in the week column, in bold.
    void DrawWeekNumber(QPainter* pDC, int y, int nWeek);
    // The day's number in its cell, in the colour of its weekday or in today's box.
    void DrawDay(QPainter* pDC, int nDay);
    void UseGridFont(BOOL bBold);

    int m_nYear = 0;
    int m_nTodayYear = 0;
    int m_nMonth = 0;
    int m_nTodayMonth = 0;
    int m_nDay = 0;
    int m_nTodayDay = 0;
    int m_nWeek = 0;
    CalendarGrid m_grid;  // valid from one paint to the next
};
