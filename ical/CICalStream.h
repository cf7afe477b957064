#pragma once
// An iCalendar file read as a stream of its top-level components (the children of every
// VCALENDAR), one at a time, with a bounded buffer: the file is read in pieces and only the
// component at hand is held. The structure is checked as it goes (balanced BEGIN and END
// lines, nothing outside a VCALENDAR, at least one VCALENDAR); a byte-order mark at the
// start is skipped. Time and memory grow with the file's length and its longest
// component, never with the square of a line.
#include <QByteArray>
#include <QString>
#include <functional>
#include <libical/ical.h>

class QIODevice;

struct ICalBlock {
    QByteArray name;       // VEVENT, VTODO, VTIMEZONE, ...
    qint64 nBegin = 0;     // byte range in the file
    qint64 nEnd = 0;
    QString strUid;        // as written (unfolded), for grouping
    bool bOverride = false;  // has a RECURRENCE-ID
    bool bTooLarge = false;  // longer than CICalStream::kMaxComponentBytes: comes without its bytes
};

class CICalStream {
public:
    // The longest top-level component read: an item costs about eight times its text in
    // memory, and no item of this program holds more than a few pages of notes.
    static constexpr qint64 kMaxComponentBytes = qint64(4) << 20;

    // The device must be open for reading and allow seeking (a file or a buffer).
    explicit CICalStream(QIODevice* pDevice) : m_pDevice(pDevice) {}

    // Hands each top-level component with its bytes to fnBlock, in file order; a false
    // from fnBlock stops the scan (Scan then gives true). False with *pstrError for a
    // structure error or a read error.
    // With bytesOf named, only components of that name come with their bytes (the others
    // with none), which spares copying what the caller does not read.
    bool Scan(const std::function<bool(const ICalBlock&, const QByteArray&)>& fnBlock, QString* pstrError,
              const QByteArray& bytesOf = QByteArray());
    // The bytes of a component found by an earlier scan.
    QByteArray Read(const ICalBlock& block);

    // One component's text parsed by libical, fed one unfolded content line at a time
    // (libical's own reader of a text slows down with the square of a long line's length).
    // Null when libical makes nothing of it, or (with *pstrWhy, may be null) when a line
    // holds a number libical would read as another.
    static icalcomponent* Parse(const QByteArray& bytes, QString* pstrWhy = nullptr);
    // A whole calendar's text, its structure checked as Scan checks a file's, then parsed
    // as Parse does: its (first) VCALENDAR, or null with *pstrWhy (may be null).
    static icalcomponent* ParseCalendar(const QByteArray& text, QString* pstrWhy = nullptr);

private:
    // The next line without its line end; false at the end of the device.
    bool NextLine(QByteArray* pLine, qint64* pnBegin, qint64* pnEnd);
    bool Fill();

    QIODevice* m_pDevice;
    QByteArray m_buffer;
    qsizetype m_nBufferPos = 0;
    qint64 m_nBufferStart = 0;  // file offset of m_buffer[0]
    qint64 m_nReadPos = 0;      // file offset of the next piece to read
    bool m_bEnd = false;
    bool m_bReadError = false;
};
