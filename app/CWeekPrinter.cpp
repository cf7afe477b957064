#include "app/CWeekPrinter.h"
#include "controls/ListCell.h"
#include "week/CWeekListing.h"
#include "week/CWeekPane.h"

namespace {

// The row whose label and text cells the list holds.
AgendaRow RowOf(int nDayIndex, const ListCell& label, const ListCell& text)
{
    AgendaRow row;
    row.nDayIndex = nDayIndex;
    row.strLabel = label.strText;
    row.strLabelExtra = label.strExtra;
    row.strText = text.strText;
    row.strTextExtra = text.strExtra;
    row.crText = text.crText;
    row.bBold = text.bBold;
    row.bStrikeOut = text.bStrikeOut;
    row.nIconFlags = text.nIconFlags;
    row.dtItem = label.dtItem;
    row.nKind = label.nKind;
    row.nOid = label.nOid;
    return row;
}

}  // namespace

CWeekPrinter::CWeekPrinter(CWeekPane* pPane, const DateTime& today)
    : m_pPane(pPane)
    , m_today(today)
{
}

CWeekListing CWeekPrinter::Listing() const
{
    CWeekListing listing(m_pPane->GetWeek(), m_today, m_pPane->GetHost());
    for (int nDay = 0; nDay < 7; ++nDay) {
        const CListCtrlEx* pList = m_pPane->GetDayList(nDay);
        for (int nRow = 0; nRow < pList->GetItemCount(); ++nRow) {
            ListCell* pLabel = nullptr;
            ListCell* pText = nullptr;
            pList->GetCell(nRow, 0, &pLabel);
            pList->GetCell(nRow, 1, &pText);
            if (pLabel != nullptr && pText != nullptr)
                listing.AddRow(RowOf(nDay, *pLabel, *pText));
        }
    }
    return listing;
}

QString CWeekPrinter::ToText() const
{
    return Listing().ToText();
}

QByteArray CWeekPrinter::ToJson() const
{
    return Listing().ToJson();
}
