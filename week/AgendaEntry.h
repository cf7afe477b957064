#pragma once
// One row of a day list as the entry builders make it, and the cell values that row ends
// up with (what a week load hands to IWeekRows).
#include "controls/ListCell.h"
#include "platform/WinTypes.h"
#include <QString>
#include <optional>

// Entry kinds stored in the label cell.
constexpr int kEntrySpecialDay = 0;
constexpr int kEntryAppointment = 1;
constexpr int kEntryTask = 2;
constexpr int kEntryNone = -1;  // placeholder row: no item behind it

// Icon bits of the text cell besides the list's own LCX_ICON_* (notes, alarm,
// recurrence): the importance, kept for the program's own use and never drawn.
constexpr int kIconHighImportance = 8;
constexpr int kIconLowImportance = 16;

constexpr COLORREF kStrikeColor = RGB(150, 150, 150);
constexpr COLORREF kOverdueColor = RGB(255, 0, 150);
constexpr COLORREF kDueTodayColor = RGB(0, 0, 255);

struct AgendaEntry {
    int nDayOfWeek = 1;  // 1 = Sunday ... 7 = Saturday
    QString strLabel;
    std::optional<QString> strLabelExtra;  // none: the label itself
    QString strText;
    std::optional<QString> strTextExtra;  // none: empty
    BOOL bStrike = FALSE;
    BOOL bOverdue = FALSE;
    int nImportance = -1;  // 0 low, 1 normal, 2 high, -1 none
    BOOL bHasNotes = FALSE;
    BOOL bReminder = FALSE;
    BOOL bRecurring = FALSE;
    BOOL bBold = FALSE;
    DATE dtItem = 0.0;
    int nKind = kEntryNone;
    int nOid = -1;
    COLORREF crText = 0;
};

// The values the two cells of the row get.
struct AgendaRow {
    int nDayIndex = 0;  // 0 = Monday ... 6 = Sunday
    QString strLabel;
    QString strLabelExtra;
    QString strText;
    QString strTextExtra;
    COLORREF crText = 0;
    BOOL bBold = FALSE;
    BOOL bStrikeOut = FALSE;
    int nIconFlags = 0;
    DATE dtItem = 0.0;
    int nKind = kEntryNone;
    int nOid = -1;
};

// Applies the row rules: grey strike-out, overdue colour over any other, importance and
// item icons, bold.
AgendaRow MakeAgendaRow(const AgendaEntry& entry);
