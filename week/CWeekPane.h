#pragma once
// The week pane: seven day lists, Monday to Thursday on the left and Friday to Sunday on
// the right under the month calendar. It decides which week is shown, fills the lists
// (the lists are the only copy of the loaded week), moves by day and by week on the
// lists' and the calendar's notifications, and reports to its parent with NMWEEKPANE.
#include "controls/CListCtrlEx.h"
#include "controls/CWeekCalendar.h"
#include "controls/CWnd.h"
#include "week/AgendaEntry.h"
#include "week/IWeekRows.h"
#include "week/WeekRange.h"
#include <memory>

class CDayWatch;
class IWeekHost;

struct NMWEEKPANE {
    NMHDR hdr;
    int32_t iItem = 0;  // row, virtual key or 0, by code
    POINT ptAction;     // screen point, or (0, 0)
};

constexpr unsigned WPN_DATECHANGED = 0x01;
constexpr unsigned WPN_CLICK = 0x02;
constexpr unsigned WPN_PENUP = 0x04;
constexpr unsigned WPN_PENMOVE = 0x08;
constexpr unsigned WPN_KEYDOWN = 0x10;
constexpr unsigned WPN_SELCHANGED = 0x11;
constexpr unsigned WPN_DBLCLK = 0x12;

constexpr int IDC_WEEKCALENDAR = 3001;
constexpr int IDC_FIRSTDAYLIST = 3002;  // Monday; Sunday is 3008

// One day of the shown week: its rectangle in the pane and its list.
struct DayBucket {
    RECT rc;
    CListCtrlEx list;
};

class CWeekPane : public CWnd, public INotifyReceiver, public IWeekRows {
    Q_OBJECT
public:
    explicit CWeekPane(IWeekHost* pFrame, QWidget* pParent = nullptr);
    ~CWeekPane() override;

    // Creates the lists and the calendar as children (the pane itself is made a child of
    // pParentWnd with nId by CWnd::Create first).
    BOOL Create(DWORD dwStyle, const RECT& rect, QWidget* pParentWnd, int nId);

    // Shows the week that contains the date (which becomes the current date).
    void SetWeek(const DateTime& date);
    // Loads the current week again (at once once painted, else at the first paint).
    void Reload();
    // Fills the seven lists; called by Reload and by the first paint.
    void LoadWeek();
    // IWeekRows: the rows are the day lists' rows.
    void AddRow(AgendaRow row) override;
    int GetRowCount(int nDayIndex) const override;
    bool HasOccurrence(int nDayIndex, int32_t nOid, DATE dtStart) const override;
    // Whether the list already shows the occurrence (OID and start, compared exactly);
    // rows without an item never match.
    static bool ListHasOccurrence(const CListCtrlEx& list, int32_t nOid, DATE dtStart);
    // Null outside 0..6.
    CListCtrlEx* GetDayList(int nIndex);
    BOOL GetSelection(int* pDay, int* pRow) const;
    // Lays the lists and the calendar out for a pane of that size.
    void Layout(int nWidth, int nHeight);

    const WeekRange& GetWeek() const { return m_week; }
    const IWeekHost& GetHost() const { return *m_pFrame; }
    DateTime GetWeekStart() const { return m_week.weekStart; }
    DateTime GetWeekEnd() const { return m_week.weekEnd; }
    CWeekCalendar& GetCalendar() { return m_calendar; }
    BOOL IsPainted() const { return m_bPainted; }
    BOOL IsLoadPending() const { return m_bLoadPending; }
    // The badge text of day nIndex (0 = Monday) of the shown week.
    QString GetCornerLabel(int nIndex) const;
    // The day of the shown week that the date falls on (0 = Monday), or -1.
    int DayIndexOf(const DateTime& date) const { return m_week.DayIndexOf(date); }

    intptr_t OnNotify(NMHDR* pHdr) override;
    // Today's date moved on (local midnight, or the clock or the zone was set): the week
    // shows the new day as if just started. Run by the pane's own day watch.
    void OnDayChange(const DateTime& oldToday);
    CDayWatch& GetDayWatch() { return *m_pDayWatch; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    intptr_t NotifyParent(unsigned nCode, int nItem = 0, POINT pt = POINT());
    void OnListNotify(int nIndex, const NMLISTCTRLEX* pNm);
    void OnCalendarPick(const NMWEEKCALENDAR* pNm);
    void OnDayFocus(int nIndex);
    void OnTopReached(int nIndex);
    void OnBottomReached(int nIndex);
    void MoveToDay(int nIndex, int nRow);
    void AfterDateMove(const DateTime& oldDate);
    void SetLists(bool bRedraw);
    void FocusCurrentDay();
    void LoadAndLayout();
    void StyleBucket(int nIndex);

    IWeekHost* m_pFrame = nullptr;
    DayBucket m_days[7];
    CWeekCalendar m_calendar;
    WeekRange m_week;  // m_weekStart, m_weekEnd and the start of each day
    int m_selDay = -1;
    int m_selRow = -1;
    BOOL m_bPainted = FALSE;
    BOOL m_bLoadPending = FALSE;
    std::unique_ptr<CDayWatch> m_pDayWatch;
};
