#include "week/AgendaEntry.h"
#include "calendar/DateTime.h"

AgendaRow MakeAgendaRow(const AgendaEntry& entry)
{
    AgendaRow row;
    row.nDayIndex = ToMondayFirst(entry.nDayOfWeek) - 1;
    row.strLabel = entry.strLabel;
    row.strLabelExtra = entry.strLabelExtra.value_or(entry.strLabel);
    row.strText = entry.strText;
    row.strTextExtra = entry.strTextExtra.value_or(QString());
    row.dtItem = entry.dtItem;
    row.nKind = entry.nKind;
    row.nOid = entry.nOid;

    row.crText = entry.crText;
    if (entry.bStrike) {
        row.bStrikeOut = TRUE;
        row.crText = kStrikeColor;
    }
    if (entry.nImportance == 2)
        row.nIconFlags |= kIconHighImportance;
    else if (entry.nImportance == 0)
        row.nIconFlags |= kIconLowImportance;
    if (entry.bOverdue)
        row.crText = kOverdueColor;
    if (entry.bHasNotes)
        row.nIconFlags |= LCX_ICON_NOTES;
    if (entry.bReminder)
        row.nIconFlags |= LCX_ICON_ALARM;
    if (entry.bRecurring)
        row.nIconFlags |= LCX_ICON_RECUR;
    row.bBold = entry.bBold ? TRUE : FALSE;
    return row;
}
