#include "pim/CSeriesZone.h"

#include "pim/CLocalZone.h"
#include "pim/CZoneAlias.h"
#include "pim/WallTime.h"
#include <QDateTime>
#include <QHash>
#include <QMutex>
#include <QTimeZone>

namespace {

// 1970-01-01 00:00 in wall minutes.
constexpr int64_t kUnixEpochWall = int64_t(25569) * kMinutesPerDay;
const QString kUtc = QStringLiteral("UTC");

// Zones by store name, looked up once per process (QTimeZone reads the database). An
// import converts times in two threads.
QTimeZone Zone(const QString& strZone)
{
    static QMutex mutex;
    static QHash<QString, QTimeZone> zones;
    const QMutexLocker lock(&mutex);
    auto it = zones.find(strZone);
    if (it == zones.end())
        it = zones.insert(strZone, QTimeZone(strZone.toUtf8()));
    return *it;
}

}  // namespace

QString CSeriesZone::StoreName(const QString& strTzid)
{
    const QString strId = strTzid.trimmed();
    if (strId.compare(kUtc, Qt::CaseInsensitive) == 0 || strId == QLatin1String("Etc/UTC")
        || strId == QLatin1String("GMT") || strId == QLatin1String("Etc/GMT"))
        return kUtc;
    const QString strKnown = CZoneAlias::Resolve(strId);
    if (!strKnown.isEmpty())
        return strKnown;
    const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(strId.toUtf8());
    if (!iana.isEmpty() && QTimeZone::isTimeZoneIdAvailable(iana))
        return QString::fromUtf8(iana);
    return QString();
}

int64_t CSeriesZone::ToUtc(const QString& strZone, int64_t nZoneWall)
{
    const int64_t nAsUtc = (nZoneWall - kUnixEpochWall) * 60;
    if (strZone == kUtc)
        return nAsUtc;
    const QTimeZone& zone = Zone(strZone);
    if (!zone.isValid())
        return nAsUtc;
    // The offset in force just before the wall time, taken at the instant it would
    // give; once more when that instant lies across a change.
    int nOffset = zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(nAsUtc - 86400, QTimeZone::utc()));
    for (int i = 0; i < 2; ++i) {
        const int nAt = zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(nAsUtc - nOffset, QTimeZone::utc()));
        if (nAt == nOffset)
            break;
        // Inside a skipped hour both readings miss: keep the offset before the change.
        if (zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(nAsUtc - nAt, QTimeZone::utc())) != nAt)
            break;
        nOffset = nAt;
    }
    return nAsUtc - nOffset;
}

int64_t CSeriesZone::FromUtc(const QString& strZone, int64_t nUtcSeconds)
{
    const auto floorMinutes = [](int64_t nSeconds) { return nSeconds / 60 - (nSeconds % 60 < 0 ? 1 : 0); };
    if (strZone == kUtc)
        return kUnixEpochWall + floorMinutes(nUtcSeconds);
    const QTimeZone& zone = Zone(strZone);
    const int nOffset = zone.isValid() ? zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(nUtcSeconds, QTimeZone::utc())) : 0;
    return kUnixEpochWall + floorMinutes(nUtcSeconds + nOffset);
}

int64_t CSeriesZone::ToLocal(const QString& strZone, int64_t nZoneWall)
{
    return strZone.isEmpty() ? nZoneWall : CLocalZone::WallFromUtc(ToUtc(strZone, nZoneWall));
}

int64_t CSeriesZone::FromLocal(const QString& strZone, int64_t nLocalWall)
{
    return strZone.isEmpty() ? nLocalWall : FromUtc(strZone, CLocalZone::UtcFromWall(nLocalWall));
}
