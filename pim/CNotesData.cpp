#include "pim/CNotesData.h"

#include <QtEndian>
#include <cstring>

namespace {

constexpr char kMagic[4] = {'Q', 'N', 'B', '1'};
// Sanity limits so that damaged bytes cannot ask for absurd allocations.
constexpr uint32_t kMaxStrokes = 1u << 20;
constexpr uint32_t kMaxPoints = 1u << 24;

void PutU16(QByteArray& out, uint16_t n)
{
    char b[2];
    qToLittleEndian(n, b);
    out.append(b, 2);
}

void PutU32(QByteArray& out, uint32_t n)
{
    char b[4];
    qToLittleEndian(n, b);
    out.append(b, 4);
}

class CReader {
public:
    explicit CReader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool U16(uint16_t* p) { return Take(2) && (*p = qFromLittleEndian<uint16_t>(m_pLast), true); }
    bool U32(uint32_t* p) { return Take(4) && (*p = qFromLittleEndian<uint32_t>(m_pLast), true); }
    bool I32(int32_t* p) { return Take(4) && (*p = qFromLittleEndian<int32_t>(m_pLast), true); }
    bool Bytes(qsizetype n, const char** pp) { return Take(n) && (*pp = m_pLast, true); }
    qsizetype Left() const { return m_bytes.size() - m_nPos; }

private:
    bool Take(qsizetype n)
    {
        if (n < 0 || Left() < n)
            return false;
        m_pLast = m_bytes.constData() + m_nPos;
        m_nPos += n;
        return true;
    }
    const QByteArray& m_bytes;
    qsizetype m_nPos = 0;
    const char* m_pLast = nullptr;
};

bool ReadText(CReader& r, QString* pText)
{
    uint32_t nUnits = 0;
    const char* p = nullptr;
    if (!r.U32(&nUnits) || nUnits > r.Left() / 2 || !r.Bytes(qsizetype(nUnits) * 2, &p))
        return false;
    pText->resize(nUnits);
    for (uint32_t i = 0; i < nUnits; ++i)
        (*pText)[i] = QChar(qFromLittleEndian<uint16_t>(p + 2 * i));
    return true;
}

bool ReadStroke(CReader& r, CInkStroke* pStroke)
{
    uint32_t nWidth = 0, nColor = 0, nPoints = 0;
    if (!r.U32(&nWidth) || !r.U32(&nColor) || !r.U32(&nPoints) || nPoints > kMaxPoints
        || nPoints > r.Left() / 8)
        return false;
    pStroke->nWidth = static_cast<int>(nWidth);
    pStroke->crColor = nColor;
    pStroke->points.resize(nPoints);
    for (uint32_t i = 0; i < nPoints; ++i) {
        int32_t x = 0, y = 0;
        if (!r.I32(&x) || !r.I32(&y))
            return false;
        pStroke->points[i] = QPoint(x, y);
    }
    return true;
}

}  // namespace

QByteArray CNotesData::ToBytes() const
{
    QByteArray out;
    if (IsEmpty())
        return out;
    out.append(kMagic, 4);
    PutU16(out, kVersion);
    PutU32(out, static_cast<uint32_t>(m_strText.size()));
    for (QChar c : m_strText)
        PutU16(out, c.unicode());
    PutU32(out, static_cast<uint32_t>(m_strokes.size()));
    for (const CInkStroke& s : m_strokes) {
        PutU32(out, static_cast<uint32_t>(s.nWidth));
        PutU32(out, s.crColor);
        PutU32(out, static_cast<uint32_t>(s.points.size()));
        for (const QPoint& pt : s.points) {
            PutU32(out, static_cast<uint32_t>(pt.x()));
            PutU32(out, static_cast<uint32_t>(pt.y()));
        }
    }
    return out;
}

BOOL CNotesData::FromBytes(const QByteArray& bytes)
{
    *this = CNotesData();
    if (bytes.isEmpty())
        return TRUE;
    CReader r(bytes);
    const char* pMagic = nullptr;
    uint16_t nVersion = 0;
    uint32_t nStrokes = 0;
    CNotesData data;
    if (!r.Bytes(4, &pMagic) || std::memcmp(pMagic, kMagic, 4) != 0 || !r.U16(&nVersion)
        || nVersion < 1 || !ReadText(r, &data.m_strText) || !r.U32(&nStrokes)
        || nStrokes > kMaxStrokes || nStrokes > r.Left() / 12)
        return FALSE;
    data.m_strokes.resize(nStrokes);
    for (uint32_t i = 0; i < nStrokes; ++i) {
        if (!ReadStroke(r, &data.m_strokes[i]))
            return FALSE;
    }
    *this = std::move(data);
    return TRUE;
}

QString CNotesData::TextOf(const QByteArray& bytes)
{
    CNotesData data;
    return data.FromBytes(bytes) ? data.m_strText : QString();
}
