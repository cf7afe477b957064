#include "ical/ICalItemText.h"

#include "ical/CICalStream.h"
#include "ical/ICalUid.h"

#include <libical/ical.h>

#include <QList>
#include <algorithm>

namespace {

bool IsItem(icalcomponent* pComp)
{
    const icalcomponent_kind kind = icalcomponent_isa(pComp);
    return kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT;
}

} // namespace

QString ICalFirstUid(const QByteArray& text)
{
    icalcomponent* pCal = CICalStream::ParseCalendar(text);
    if (pCal == nullptr)
        return {};
    QString strUid;
    for (icalcomponent* p = icalcomponent_get_first_component(pCal, ICAL_ANY_COMPONENT); p && strUid.isEmpty();
         p = icalcomponent_get_next_component(pCal, ICAL_ANY_COMPONENT)) {
        if (IsItem(p) && icalcomponent_get_uid(p) != nullptr)
            strUid = ICalUidAsRead(QString::fromUtf8(icalcomponent_get_uid(p)));
    }
    icalcomponent_free(pCal);
    return strUid;
}

QByteArray ICalRenamedCopy(const QByteArray& text, const QString& strUid, const QString& strSuffix)
{
    icalcomponent* pCal = CICalStream::ParseCalendar(text);
    if (pCal == nullptr)
        return {};
    const QByteArray uid = strUid.toUtf8();
    for (icalcomponent* p = icalcomponent_get_first_component(pCal, ICAL_ANY_COMPONENT); p;
         p = icalcomponent_get_next_component(pCal, ICAL_ANY_COMPONENT)) {
        if (!IsItem(p))
            continue;
        icalcomponent_set_uid(p, uid.constData());
        const char* pszSummary = icalcomponent_get_summary(p);
        const QByteArray summary = (pszSummary ? QString::fromUtf8(pszSummary) : QString()).append(strSuffix).toUtf8();
        icalcomponent_set_summary(p, summary.constData());
    }
    char* psz = icalcomponent_as_ical_string_r(pCal);
    const QByteArray out(psz);
    free(psz);
    icalcomponent_free(pCal);
    return out;
}

namespace {

// The calendar's content lines as libical writes them, unfolded and sorted, without the
// writer's stamps; empty when the text does not read as iCalendar.
QList<QByteArray> ComparableLines(const QByteArray& text)
{
    icalcomponent* pCal = CICalStream::ParseCalendar(text);
    if (pCal == nullptr)
        return {};
    char* psz = icalcomponent_as_ical_string_r(pCal);
    QByteArray written(psz);
    free(psz);
    icalcomponent_free(pCal);
    written.replace("\r\n ", "").replace("\r\n\t", "");
    QList<QByteArray> lines;
    for (const QByteArray& line : written.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith("DTSTAMP") && !trimmed.startsWith("LAST-MODIFIED")
            && !trimmed.startsWith("PRODID"))
            lines << trimmed;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

bool ICalSameItem(const QByteArray& a, const QByteArray& b)
{
    const QList<QByteArray> linesA = ComparableLines(a);
    return !linesA.isEmpty() && linesA == ComparableLines(b);
}
