#include "ical/CICalOverrideIndex.h"

#include <QMap>

QString CICalOverrideIndex::KeyOf(const ICalBlock& block)
{
    return QString::fromLatin1(block.name) + u' ' + block.strUid;
}

void CICalOverrideIndex::Add(const ICalBlock& block)
{
    m_overrides[KeyOf(block)].blocks.push_back(block);
}

QVector<ICalBlock> CICalOverrideIndex::Of(const ICalBlock& master) const
{
    if (m_overrides.isEmpty())  // most files: no key to make
        return {};
    const auto it = m_overrides.constFind(KeyOf(master));
    return it == m_overrides.constEnd() ? QVector<ICalBlock>() : it->blocks;
}

void CICalOverrideIndex::MarkUsed(const QSet<QString>& keys)
{
    for (const QString& strKey : keys) {
        const auto it = m_overrides.find(strKey);
        if (it != m_overrides.end())
            it->bUsed = true;
    }
}

ICalPrepared CICalOverrideIndex::Unused() const
{
    QMap<qint64, QString> unusedByPlace;
    for (auto it = m_overrides.constBegin(); it != m_overrides.constEnd(); ++it) {
        for (qsizetype i = 0; !it->bUsed && i < it->blocks.size(); ++i)
            unusedByPlace.insert(it->blocks[i].nBegin, it->blocks[i].strUid);
    }
    ICalPrepared unused;
    for (const QString& strUid : std::as_const(unusedByPlace))
        unused.skipped << ICalSkipLine(strUid, QStringLiteral("changed occurrence whose series is not in the file"));
    return unused;
}
