#pragma once
// What the ink control holds: the notes (typed text and pen strokes) and the bytes they
// were loaded from. Bytes that are not notes of our own format (another program's, or a
// later version's) are kept as they came and given back unchanged; such a page cannot be
// edited until it is cleared. Untouched notes are also given back exactly as loaded.
#include "pim/CNotesData.h"
#include <QByteArray>

class CInkPage {
public:
    // Replaces the content with the notes of these bytes; empty bytes are empty notes.
    void Load(const QByteArray& bytes);
    // The bytes of the content: the loaded bytes while nothing changed, else the notes in
    // our format (empty notes give no bytes).
    QByteArray Save() const;
    // Empty notes, editable again; the loaded bytes are dropped.
    void Clear();

    // TRUE while the page holds bytes it cannot read.
    BOOL IsForeign() const { return m_bForeign; }
    BOOL IsModified() const { return m_bModified; }
    const CNotesData& GetNotes() const { return m_notes; }
    const QString& GetText() const { return m_notes.m_strText; }

    // Edits; each does nothing on a foreign page. Positions are UTF-16 indexes into the
    // text, clamped to it.
    void AddStroke(const CInkStroke& stroke);
    void InsertText(int nPos, const QString& strText);
    void RemoveText(int nPos, int nCount);

    // TRUE when these bytes are notes of our format that we write back exactly as they
    // are, so reading and writing them loses nothing.
    static BOOL IsOwnFormat(const QByteArray& bytes);

private:
    CNotesData m_notes;
    QByteArray m_loaded;
    BOOL m_bForeign = FALSE;
    BOOL m_bModified = FALSE;
};
