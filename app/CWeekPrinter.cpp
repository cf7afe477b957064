#include "app/CWeekPrinter.h"
#include "controls/ListCell.h"
#include "week/AgendaEntry.h"
#include "week/CWeekPane.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <vector>

namespace {

QString IsoDate(const DateTime& t)
{
    return QStringLiteral("%1-%2-%3")
        .arg(t.GetYear(), 4, 10, QLatin1Char('0'))
        .arg(t.GetMonth(), 2, 10, QLatin1Char('0'))
        .arg(t.GetDay(), 2, 10, QLatin1Char('0'));
}

QString ColorText(COLORREF cr)
{
    return QStringLiteral("#%1%2%3")
        .arg(GetRValue(cr), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(cr), 2, 16, QLatin1Char('0'))
        .arg(GetBValue(cr), 2, 16, QLatin1Char('0'))
        .toUpper();
}

struct IconName {
    int nFlag;
    const char* pszName;
};

const IconName kIconNames[] = {{LCX_ICON_NOTES, "notes"},
                               {LCX_ICON_ALARM, "alarm"},
                               {LCX_ICON_RECUR, "recurring"},
                               {kIconHighImportance, "high"},
                               {kIconLowImportance, "low"}};

QStringList IconNames(int nIconFlags)
{
    QStringList names;
    for (const IconName& icon : kIconNames) {
        if (nIconFlags & icon.nFlag)
            names << QLatin1String(icon.pszName);
    }
    return names;
}

struct RowCells {
    const ListCell* pLabel;
    const ListCell* pText;
};

// The label and text cells of every row of a day list.
std::vector<RowCells> DayRows(CListCtrlEx* pList)
{
    std::vector<RowCells> rows;
    for (int nRow = 0; nRow < pList->GetItemCount(); ++nRow) {
        ListCell* pLabel = nullptr;
        ListCell* pText = nullptr;
        pList->GetCell(nRow, 0, &pLabel);
        pList->GetCell(nRow, 1, &pText);
        if (pLabel != nullptr && pText != nullptr)
            rows.push_back(RowCells{pLabel, pText});
    }
    return rows;
}

QString RowLine(const ListCell& label, const ListCell& text)
{
    QString line = QStringLiteral("  ") + label.strText + QLatin1Char('\t') + text.strText;
    if ((!label.strExtra.isEmpty() && label.strExtra != label.strText) || !text.strExtra.isEmpty())
        line += QStringLiteral("\textra=") + label.strExtra + QLatin1Char('|') + text.strExtra;
    if (text.crText != 0)
        line += QStringLiteral("\tcolor=") + ColorText(text.crText);
    if (text.bBold)
        line += QStringLiteral("\tbold");
    if (text.bStrikeOut)
        line += QStringLiteral("\tstrike");
    for (const QString& name : IconNames(text.nIconFlags))
        line += QLatin1Char('\t') + name;
    return line;
}

QJsonObject RowObject(const ListCell& label, const ListCell& text)
{
    QJsonObject row;
    row.insert(QStringLiteral("label"), label.strText);
    row.insert(QStringLiteral("labelExtra"), label.strExtra);
    row.insert(QStringLiteral("text"), text.strText);
    row.insert(QStringLiteral("textExtra"), text.strExtra);
    row.insert(QStringLiteral("color"), ColorText(text.crText));
    row.insert(QStringLiteral("bold"), text.bBold != 0);
    row.insert(QStringLiteral("strike"), text.bStrikeOut != 0);
    row.insert(QStringLiteral("icons"), QJsonArray::fromStringList(IconNames(text.nIconFlags)));
    row.insert(QStringLiteral("kind"), label.nKind);
    row.insert(QStringLiteral("oid"), label.nOid);
    return row;
}

}  // namespace

CWeekPrinter::CWeekPrinter(CWeekPane* pPane, const DateTime& today)
    : m_pPane(pPane)
    , m_today(today)
{
}

QString CWeekPrinter::DayLabel(int nDay) const
{
    return m_pPane->GetCornerLabel(nDay);
}

QString CWeekPrinter::ToText() const
{
    QString out;
    for (int nDay = 0; nDay < 7; ++nDay) {
        out += IsoDate(m_pPane->GetWeek().dayStart[nDay]) + QLatin1Char(' ') + DayLabel(nDay) + QLatin1Char('\n');
        for (const RowCells& row : DayRows(m_pPane->GetDayList(nDay)))
            out += RowLine(*row.pLabel, *row.pText) + QLatin1Char('\n');
    }
    return out;
}

QByteArray CWeekPrinter::ToJson() const
{
    QJsonArray days;
    for (int nDay = 0; nDay < 7; ++nDay) {
        const DateTime& date = m_pPane->GetWeek().dayStart[nDay];
        QJsonArray rows;
        for (const RowCells& row : DayRows(m_pPane->GetDayList(nDay)))
            rows.append(RowObject(*row.pLabel, *row.pText));
        QJsonObject day;
        day.insert(QStringLiteral("date"), IsoDate(date));
        day.insert(QStringLiteral("label"), DayLabel(nDay));
        day.insert(QStringLiteral("today"), IsSameDay(date, m_today) != 0);
        day.insert(QStringLiteral("rows"), rows);
        days.append(day);
    }
    QJsonObject root;
    root.insert(QStringLiteral("weekStart"), IsoDate(m_pPane->GetWeekStart()));
    root.insert(QStringLiteral("days"), days);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
