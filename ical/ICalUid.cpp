#include "ical/ICalUid.h"

#include <QCryptographicHash>
#include <cstdlib>
#include <libical/ical.h>

namespace {

// Characters libical may change in a value: white space and control characters.
bool MayChange(const QString& strUid)
{
    for (QChar c : strUid) {
        if (c.unicode() <= 0x20 || c.isSpace())
            return true;
    }
    return false;
}

// strUid written as a UID line by libical and read back.
QString RoundTrip(const QString& strUid)
{
    icalcomponent* pEvent = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(pEvent, icalproperty_new_uid(strUid.toUtf8().constData()));
    char* psz = icalcomponent_as_ical_string_r(pEvent);
    icalcomponent_free(pEvent);
    icalcomponent* pBack = icalparser_parse_string(psz);
    std::free(psz);
    const char* pszUid = pBack ? icalcomponent_get_uid(pBack) : nullptr;
    const QString strBack = pszUid ? QString::fromUtf8(pszUid) : QString();
    if (pBack != nullptr)
        icalcomponent_free(pBack);
    return strBack;
}

}  // namespace

QString ICalUidAsRead(const QString& strUid)
{
    if (!MayChange(strUid))
        return strUid;
    // One round trip trims what a second would: the result reads back as itself.
    return RoundTrip(strUid);
}

QString ICalDerivedUid(const QByteArray& component)
{
    return QString::fromLatin1(QCryptographicHash::hash(component, QCryptographicHash::Sha1).toHex())
         + QStringLiteral("@derived.quillday");
}
