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

// The row's line, without its line end.
void MakeRowLine(const AgendaRow& row, QString* pOut)
{
    QString& out = *pOut;
    out.clear();
    out += QLatin1String("  ");
    out += row.strLabel;
    out += QLatin1Char('\t');
    out += row.strText;
    if ((!row.strLabelExtra.isEmpty() && row.strLabelExtra != row.strLabel) || !row.strTextExtra.isEmpty()) {
        out += QLatin1String("\textra=");
        out += row.strLabelExtra;
        out += QLatin1Char('|');
        out += row.strTextExtra;
    }
    if (row.crText != 0) {
        out += QLatin1String("\tcolor=");
        out += ColorText(row.crText);
    }
    if (row.bBold)
        out += QLatin1String("\tbold");
    if (row.bStrikeOut)
        out += QLatin1String("\tstrike");
    for (const IconName& icon : kIconNames) {
        if (row.nIconFlags & icon.nFlag) {
            out += QLatin1Char('\t');
            out += QLatin1String(icon.pszName);
        }
    }
}

// Whether everything written to the file so far reached it.
bool Flushed(std::FILE* pFile)
{
    return std::fflush(pFile) == 0 && std::ferror(pFile) == 0;
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

// One line at a time in one string, which keeps its room: a week may have thousands.
void CWeekListing::ForEachLine(const std::function<void(const QString&)>& fnLine) const
{
    QString line;
    for (int nDay = 0; nDay < 7; ++nDay) {
        fnLine(IsoDate(m_week.dayStart[nDay]) + QLatin1Char(' ') + m_strLabels[nDay]);
        for (const AgendaRow& row : m_rows[nDay]) {
            MakeRowLine(row, &line);
            fnLine(line);
        }
    }
}

QString CWeekListing::ToText() const
{
    QString out;
    ForEachLine([&out](const QString& line) { out += line + QLatin1Char('\n'); });
    return out;
}

bool CWeekListing::WriteText(std::FILE* pFile) const
{
    QByteArray utf8;
    ForEachLine([&](const QString& line) {
        utf8 = line.toUtf8();
        utf8 += '\n';
        std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), pFile);
    });
    return Flushed(pFile);
}

bool CWeekListing::WriteJson(std::FILE* pFile) const
{
    const QByteArray json = ToJson();
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), pFile);
    return Flushed(pFile);
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
