#include "week/CWeekListing.h"
#include "week/CWeekLoader.h"
#include "week/WeekLayout.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

QString RowLine(const AgendaRow& row)
{
    QString line = QStringLiteral("  ") + row.strLabel + QLatin1Char('\t') + row.strText;
    if ((!row.strLabelExtra.isEmpty() && row.strLabelExtra != row.strLabel) || !row.strTextExtra.isEmpty())
        line += QStringLiteral("\textra=") + row.strLabelExtra + QLatin1Char('|') + row.strTextExtra;
    if (row.crText != 0)
        line += QStringLiteral("\tcolor=") + ColorText(row.crText);
    if (row.bBold)
        line += QStringLiteral("\tbold");
    if (row.bStrikeOut)
        line += QStringLiteral("\tstrike");
    for (const QString& name : IconNames(row.nIconFlags))
        line += QLatin1Char('\t') + name;
    return line;
}

QJsonObject RowObject(const AgendaRow& row)
{
    QJsonObject object;
    object.insert(QStringLiteral("label"), row.strLabel);
    object.insert(QStringLiteral("labelExtra"), row.strLabelExtra);
    object.insert(QStringLiteral("text"), row.strText);
    object.insert(QStringLiteral("textExtra"), row.strTextExtra);
    object.insert(QStringLiteral("color"), ColorText(row.crText));
    object.insert(QStringLiteral("bold"), row.bBold != 0);
    object.insert(QStringLiteral("strike"), row.bStrikeOut != 0);
    object.insert(QStringLiteral("icons"), QJsonArray::fromStringList(IconNames(row.nIconFlags)));
    object.insert(QStringLiteral("kind"), row.nKind);
    object.insert(QStringLiteral("oid"), row.nOid);
    return object;
}

}  // namespace

CWeekListing::CWeekListing(const WeekRange& week, const DateTime& today, const IWeekHost& host)
    : m_week(week)
    , m_today(today)
{
    for (int nDay = 0; nDay < 7; ++nDay)
        m_strLabels[nDay] = CornerLabelOf(week, nDay, host);
}

void CWeekListing::AddRow(AgendaRow row)
{
    if (row.nDayIndex >= 0 && row.nDayIndex < 7)
        m_rows[row.nDayIndex].push_back(std::move(row));
}

int CWeekListing::GetRowCount(int nDayIndex) const
{
    return (nDayIndex >= 0 && nDayIndex < 7) ? static_cast<int>(m_rows[nDayIndex].size()) : 0;
}

bool CWeekListing::HasOccurrence(int nDayIndex, int32_t nOid, DATE dtStart) const
{
    if (nDayIndex < 0 || nDayIndex >= 7)
        return false;
    for (const AgendaRow& row : m_rows[nDayIndex]) {
        if (row.nOid != -1 && row.nOid == nOid && row.dtItem == dtStart)
            return true;
    }
    return false;
}

bool CWeekListing::Load(IWeekHost* pHost, QString* pstrFailure)
{
    CWeekLoader loader(pHost, this, m_week);
    const bool bLoaded = loader.Load();
    *pstrFailure = loader.GetFailure();
    return bLoaded;
}

QString CWeekListing::ToText() const
{
    QString out;
    for (int nDay = 0; nDay < 7; ++nDay) {
        out += IsoDate(m_week.dayStart[nDay]) + QLatin1Char(' ') + m_strLabels[nDay] + QLatin1Char('\n');
        for (const AgendaRow& row : m_rows[nDay])
            out += RowLine(row) + QLatin1Char('\n');
    }
    return out;
}

QByteArray CWeekListing::ToJson() const
{
    QJsonArray days;
    for (int nDay = 0; nDay < 7; ++nDay) {
        const DateTime& date = m_week.dayStart[nDay];
        QJsonArray rows;
        for (const AgendaRow& row : m_rows[nDay])
            rows.append(RowObject(row));
        QJsonObject day;
        day.insert(QStringLiteral("date"), IsoDate(date));
        day.insert(QStringLiteral("label"), m_strLabels[nDay]);
        day.insert(QStringLiteral("today"), IsSameDay(date, m_today) != 0);
        day.insert(QStringLiteral("rows"), rows);
        days.append(day);
    }
    QJsonObject root;
    root.insert(QStringLiteral("weekStart"), IsoDate(m_week.weekStart));
    root.insert(QStringLiteral("days"), days);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
