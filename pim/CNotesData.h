#pragma once
// The notes of an item: typed text plus pen strokes, and their byte format, which the
// store keeps and the ink control reads and writes.
//
// Byte format, version 1 (all integers little-endian):
//   4 bytes  magic "QNB1"
//   u16      version (1)
//   u32      text length in UTF-16 code units, then the text as UTF-16LE
//   u32      stroke count; each stroke: u32 pen width in pixels, u32 colour (0x00BBGGRR),
//            u32 point count, then the points as pairs of i32 x, y (pixels, origin at the
//            top-left of the page)
// Readers accept a higher version only if it keeps this prefix (they read what they
// know and ignore trailing bytes). Empty bytes are empty notes.
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QVector>
#include <cstdint>

struct CInkStroke {
    int nWidth = 1;
    COLORREF crColor = 0;
    QVector<QPoint> points;
    bool operator==(const CInkStroke&) const = default;
};

class CNotesData {
public:
    static constexpr uint16_t kVersion = 1;

    QString m_strText;
    QVector<CInkStroke> m_strokes;

    bool IsEmpty() const { return m_strText.isEmpty() && m_strokes.isEmpty(); }
    // Empty notes give empty bytes.
    QByteArray ToBytes() const;
    // FALSE for bytes that are not notes of this format (the data is then left empty).
    BOOL FromBytes(const QByteArray& bytes);
    // The typed text of note bytes (empty for bytes of another format).
    static QString TextOf(const QByteArray& bytes);

    bool operator==(const CNotesData&) const = default;
};
