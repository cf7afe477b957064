#include "ical/CICalItemPreparer.h"

#include "ical/CAnniversaryEvents.h"
#include "ical/CICalOverrideIndex.h"

namespace {

QString TooLarge(const ICalBlock& b)
{
    const QString strName = QString::fromLatin1(b.name);
    return ICalSkipLine(b.strUid.isEmpty() ? strName : b.strUid,
                        QStringLiteral("%1 of %2 bytes, more than the %3 MiB an item may have")
                            .arg(strName)
                            .arg(b.nEnd - b.nBegin)
                            .arg(CICalStream::kMaxComponentBytes >> 20));
}

}  // namespace

CICalItemPreparer::CICalItemPreparer(const CICalZones& fileZones, bool bKeepSpecialDays, bool bPlainSpecialDays)
    : m_reader(m_zones), m_overrides(m_zones, m_reader), m_bKeepSpecialDays(bKeepSpecialDays),
      m_bPlainSpecialDays(bPlainSpecialDays)
{
    m_zones.LoadCopy(fileZones);
}

void CICalItemPreparer::Prepare(const ICalScanned& scanned, ICalPrepared* pOut)
{
    const ICalBlock& b = scanned.block;
    if (b.bTooLarge)
        return void(pOut->skipped << TooLarge(b));
    if (b.name != "VEVENT" && b.name != "VTODO") {
        const QString strName = QString::fromLatin1(b.name);
        return void(pOut->skipped << ICalSkipLine(b.strUid.isEmpty() ? strName : b.strUid,
                                                  QStringLiteral("%1 components are not events or to-dos").arg(strName)));
    }
    PrepareItem(scanned, pOut);
}

void CICalItemPreparer::PrepareItem(const ICalScanned& scanned, ICalPrepared* pOut)
{
    const ICalBlock& master = scanned.block;
    const bool bEvent = master.name == "VEVENT";
    QString strUid = master.strUid;
    QString strUnread = QStringLiteral("libical could not read the component");
    icalcomponent* pComp = CICalStream::Parse(scanned.text, &strUnread);
    if (pComp == nullptr)
        return void(pOut->skipped << ICalSkipLine(strUid, strUnread));
    AnniversaryFields day;
    QString strNotADay;
    if (bEvent && m_bKeepSpecialDays && CAnniversaryEvents::DayOfEvent(pComp, m_bPlainSpecialDays, &day, &strNotADay)) {
        icalcomponent_free(pComp);
        pOut->specialDays.append(ICalSpecialDay{strUid, day});
        return;
    }
    QVector<CItemRecord> series;
    QVector<int64_t> exdates;
    QString strWhy;
    const bool bRead = m_reader.ReadItem(pComp, scanned.text, bEvent, &series, &exdates, &strUid, &strWhy);
    icalcomponent_free(pComp);
    if (!bRead)
        return void(pOut->skipped << ICalSkipLine(strUid, strWhy));
    if (!scanned.overrides.isEmpty())
        m_usedOverrides.insert(CICalOverrideIndex::KeyOf(master));
    const QVector<icalcomponent*> overrides = CICalOverrides::Parse(scanned.overrides, strUid, pOut);
    if (bEvent)
        m_overrides.PrepareEvents(series, exdates, overrides, strUid, pOut);
    else
        m_overrides.PrepareTodo(series.front(), exdates, overrides, strUid, pOut);
    for (icalcomponent* p : overrides)
        icalcomponent_free(p);
}
