#include "ink/CInkPage.h"

#include <algorithm>

namespace {

// Empty notes written with the full header (our writer gives no bytes for them, but the
// format allows it): magic, version, zero text units, zero strokes.
constexpr qsizetype kEmptyNotesSize = 4 + 2 + 4 + 4;

}  // namespace

BOOL CInkPage::IsOwnFormat(const QByteArray& bytes)
{
    CNotesData notes;
    if (!notes.FromBytes(bytes))
        return FALSE;
    if (notes.IsEmpty())
        return bytes.isEmpty()
               || (bytes.size() == kEmptyNotesSize && bytes.at(4) == char(CNotesData::kVersion) && bytes.at(5) == 0);
    // A later version or trailing bytes would not survive being written again.
    return notes.ToBytes() == bytes;
}

void CInkPage::Load(const QByteArray& bytes)
{
    m_loaded = bytes;
    m_bModified = FALSE;
    m_bForeign = !IsOwnFormat(bytes);
    m_notes = CNotesData();
    if (!m_bForeign)
        m_notes.FromBytes(bytes);
}

QByteArray CInkPage::Save() const
{
    return m_bModified ? m_notes.ToBytes() : m_loaded;
}

void CInkPage::Clear()
{
    m_notes = CNotesData();
    m_loaded.clear();
    m_bForeign = FALSE;
    m_bModified = TRUE;
}

void CInkPage::AddStroke(const CInkStroke& stroke)
{
    if (m_bForeign || stroke.points.isEmpty())
        return;
    m_notes.m_strokes.append(stroke);
    m_bModified = TRUE;
}

void CInkPage::InsertText(int nPos, const QString& strText)
{
    if (m_bForeign || strText.isEmpty())
        return;
    nPos = std::clamp(nPos, 0, static_cast<int>(m_notes.m_strText.size()));
    m_notes.m_strText.insert(nPos, strText);
    m_bModified = TRUE;
}

void CInkPage::RemoveText(int nPos, int nCount)
{
    const int nSize = static_cast<int>(m_notes.m_strText.size());
    nPos = std::clamp(nPos, 0, nSize);
    nCount = std::clamp(nCount, 0, nSize - nPos);
    if (m_bForeign || nCount == 0)
        return;
    m_notes.m_strText.remove(nPos, nCount);
    m_bModified = TRUE;
}
