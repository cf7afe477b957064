#include "ical/CICalStream.h"

#include <QBuffer>
#include <QIODevice>
#include <QVector>
#include <algorithm>
#include <iterator>
#include <cctype>
#include <cstring>

namespace {

constexpr qint64 kPieceBytes = 1 << 20;
// Components inside one another, at most: the calendar, an item, an alarm and a little
// room. libical frees components recursively, so a deeper file could exhaust the stack.
constexpr qsizetype kMaxNesting = 16;
const char kBom[] = "\xEF\xBB\xBF";

// A content line's name is the part before ':' or ';'; BEGIN and END lines are never folded.
bool LineIs(const QByteArray& line, const char* pszKey, QByteArray* pValue)
{
    const qsizetype k = qsizetype(std::strlen(pszKey));
    if (line.size() < k || qstrnicmp(line.constData(), pszKey, k) != 0)
        return false;
    *pValue = line.mid(k).trimmed().toUpper();
    return true;
}

// A line named BEGIN or END (before ':' or ';') that is not BEGIN:NAME or END:NAME with a
// name of letters, digits and '-'. libical mishandles such lines (it frees part of a
// component twice), so they never reach it.
bool IsMalformedComponentLine(const QByteArray& line)
{
    // Most lines are told apart by their first letter after any white space.
    const char* p = line.constData();
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (std::toupper(static_cast<unsigned char>(*p)) != 'B' && std::toupper(static_cast<unsigned char>(*p)) != 'E')
        return false;
    const qsizetype nEnd = qsizetype(std::strcspn(line.constData(), ":;"));
    const QByteArray name = line.left(nEnd).trimmed().toUpper();
    if (name != "BEGIN" && name != "END")
        return false;
    if (nEnd >= line.size() || line[nEnd] != ':' || line.left(nEnd).toUpper() != name)
        return true;
    const QByteArray value = line.mid(nEnd + 1).trimmed();
    if (value.isEmpty())
        return true;
    for (char c : value) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-'))
            return true;
    }
    return false;
}

// A property line "NAME:value" or "NAME;params:value"; the value after the first ':'
// outside quotes.
bool PropertyLine(const QByteArray& line, const char* pszName, QByteArray* pValue)
{
    const qsizetype k = qsizetype(std::strlen(pszName));
    if (line.size() <= k || qstrnicmp(line.constData(), pszName, k) != 0 || (line[k] != ':' && line[k] != ';'))
        return false;
    bool bQuoted = false;
    for (qsizetype i = k; i < line.size(); ++i) {
        if (line[i] == '"')
            bQuoted = !bQuoted;
        else if (line[i] == ':' && !bQuoted)
            return *pValue = line.mid(i + 1), true;
    }
    return false;
}

// Properties whose numbers libical reads into an int without a check (sscanf("%10d"),
// atoi): a number of more than 9 digits comes back as another number.
constexpr QByteArrayView kNumericProperties[] = {"DURATION", "TRIGGER", "RRULE", "EXRULE", "RDATE", "SEQUENCE",
                                                 "PRIORITY", "PERCENT-COMPLETE", "REPEAT", "REFRESH-INTERVAL"};
constexpr qsizetype kMaxDigits = 9;

// The name of a numeric property whose value (after the first ':' outside quotes) holds a
// longer run of digits than libical reads; empty when there is none.
QByteArray NumberTooLong(const QByteArray& line)
{
    const QByteArrayView name = QByteArrayView(line.constData(), std::strcspn(line.constData(), ":;")).trimmed();
    const auto it = std::find_if(std::begin(kNumericProperties), std::end(kNumericProperties), [&](QByteArrayView known) {
        return name.size() == known.size() && qstrnicmp(name.data(), known.data(), name.size()) == 0;
    });
    QByteArray value;
    if (it == std::end(kNumericProperties) || !PropertyLine(line, it->data(), &value))
        return {};
    qsizetype nRun = 0;
    for (char c : value) {
        nRun = std::isdigit(static_cast<unsigned char>(c)) ? nRun + 1 : 0;
        if (nRun > kMaxDigits)
            return it->toByteArray();
    }
    return {};
}

}  // namespace

bool CICalStream::Fill()
{
    if (m_bEnd)
        return false;
    // Drop what was read; the unread rest (a line not yet ended) stays.
    if (m_nBufferPos > 0) {
        m_buffer.remove(0, m_nBufferPos);
        m_nBufferStart += m_nBufferPos;
        m_nBufferPos = 0;
    }
    if (!m_pDevice->seek(m_nReadPos)) {
        m_bReadError = m_bEnd = true;
        return false;
    }
    const QByteArray piece = m_pDevice->read(kPieceBytes);
    if (piece.isEmpty()) {
        m_bReadError = m_nReadPos < m_pDevice->size();
        m_bEnd = true;
        return false;
    }
    m_nReadPos += piece.size();
    m_buffer += piece;
    return true;
}

bool CICalStream::NextLine(QByteArray* pLine, qint64* pnBegin, qint64* pnEnd)
{
    // Only bytes not searched before are searched, so a long line costs its length once.
    // Of a line longer than any component may be only the start is kept (the component
    // is skipped whole), so memory stays bounded whatever the file holds.
    qsizetype nFrom = m_nBufferPos;
    qsizetype nEol = -1;
    QByteArray head;
    qint64 nHeadBegin = -1;
    while ((nEol = m_buffer.indexOf('\n', nFrom)) < 0) {
        if (m_buffer.size() - m_nBufferPos > kMaxComponentBytes) {
            if (nHeadBegin < 0) {
                nHeadBegin = m_nBufferStart + m_nBufferPos;
                head = m_buffer.mid(m_nBufferPos, kMaxComponentBytes);
            }
            m_nBufferStart += m_buffer.size();
            m_buffer.clear();
            m_nBufferPos = 0;
        }
        const qsizetype nSearched = m_buffer.size() - m_nBufferPos;
        if (!Fill())
            break;
        nFrom = m_nBufferPos + nSearched;
    }
    if (nEol < 0 && m_nBufferPos >= m_buffer.size() && nHeadBegin < 0)
        return false;
    const qsizetype nStart = m_nBufferPos;
    const qsizetype nStop = nEol >= 0 ? nEol : m_buffer.size();
    qsizetype n = nStop - nStart;
    if (n > 0 && m_buffer[nStart + n - 1] == '\r')
        --n;
    if (nHeadBegin >= 0) {
        *pLine = head;
    } else {  // into the caller's line, whose room is kept from line to line
        pLine->resize(n);
        std::memcpy(pLine->data(), m_buffer.constData() + nStart, n);
    }
    *pnBegin = nHeadBegin >= 0 ? nHeadBegin : m_nBufferStart + nStart;
    m_nBufferPos = nEol >= 0 ? nEol + 1 : m_buffer.size();
    *pnEnd = m_nBufferStart + m_nBufferPos;
    return true;
}

bool CICalStream::Scan(const std::function<bool(const ICalBlock&, const QByteArray&)>& fnBlock, QString* pstrError,
                       const QByteArray& bytesOf)
{
    m_buffer.clear();
    m_nBufferPos = 0;
    m_nBufferStart = 0;
    m_nReadPos = 0;
    m_bEnd = m_bReadError = false;
    QVector<QByteArray> stack;
    int nCalendars = 0;
    ICalBlock block;
    QByteArray bytes;  // the component at hand
    QByteArray uid;
    bool bInUid = false;
    bool bKeepBytes = true;
    QByteArray line, value;
    qint64 nBegin = 0, nEnd = 0;
    for (qint64 nLine = 1; NextLine(&line, &nBegin, &nEnd); ++nLine) {
        if (nLine == 1 && line.startsWith(kBom))
            line.remove(0, 3);
        if (stack.size() >= 2 && nEnd - block.nBegin > kMaxComponentBytes && !block.bTooLarge) {
            block.bTooLarge = true;
            bytes = QByteArray();
        }
        if (stack.size() >= 2 && bKeepBytes && !block.bTooLarge && nBegin >= m_nBufferStart)
            bytes.append(m_buffer.constData() + (nBegin - m_nBufferStart), nEnd - nBegin);
        if (bInUid && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
            uid.append(line.constData() + 1, line.size() - 1);
            continue;
        }
        bInUid = false;
        if (IsMalformedComponentLine(line))
            return *pstrError = QStringLiteral("line %1: a BEGIN or END line that is not of the form BEGIN:NAME")
                                    .arg(nLine),
                   false;
        if (LineIs(line, "BEGIN:", &value)) {
            if (stack.size() >= kMaxNesting)
                return *pstrError = QStringLiteral("line %1: components nested more than %2 deep")
                                        .arg(nLine)
                                        .arg(kMaxNesting),
                       false;
            if (stack.isEmpty() && value != "VCALENDAR")
                return *pstrError = QStringLiteral("line %1: not inside a VCALENDAR").arg(nLine), false;
            if (stack.size() == 1) {
                block = ICalBlock();
                block.nBegin = nBegin;
                uid.clear();
                bKeepBytes = bytesOf.isEmpty() || value == bytesOf;
                bytes = bKeepBytes && nBegin >= m_nBufferStart ? m_buffer.mid(nBegin - m_nBufferStart, nEnd - nBegin)
                                                                : QByteArray();
            }
            nCalendars += stack.isEmpty();
            stack.push_back(value);
        } else if (LineIs(line, "END:", &value)) {
            if (stack.isEmpty() || stack.back() != value)
                return *pstrError = QStringLiteral("line %1: END:%2 does not close a component")
                                        .arg(nLine)
                                        .arg(QString::fromLatin1(value)),
                       false;
            stack.pop_back();
            if (stack.size() == 1) {
                block.name = value;
                block.nEnd = nEnd;
                block.strUid = QString::fromUtf8(uid);
                if (!fnBlock(block, bytes))
                    return true;
                bytes.clear();
            }
        } else if (stack.size() == 2) {
            if (PropertyLine(line, "UID", &value)) {
                uid = value;
                bInUid = true;
            }
            block.bOverride = block.bOverride || PropertyLine(line, "RECURRENCE-ID", &value);
        } else if (stack.isEmpty() && !line.trimmed().isEmpty()) {
            return *pstrError = QStringLiteral("line %1: text outside a VCALENDAR").arg(nLine), false;
        }
    }
    if (m_bReadError)
        return *pstrError = QStringLiteral("the file could not be read to its end"), false;
    if (!stack.isEmpty())
        return *pstrError = QStringLiteral("BEGIN:%1 is never closed").arg(QString::fromLatin1(stack.back())), false;
    if (nCalendars == 0)
        return *pstrError = QStringLiteral("no VCALENDAR found: not an iCalendar file"), false;
    return true;
}

QByteArray CICalStream::Read(const ICalBlock& block)
{
    if (!m_pDevice->seek(block.nBegin))
        return QByteArray();
    return m_pDevice->read(block.nEnd - block.nBegin);
}

icalcomponent* CICalStream::Parse(const QByteArray& bytes, QString* pstrWhy)
{
    icalparser* pParser = icalparser_new();
    icalcomponent* pRoot = nullptr;
    QByteArray logical;
    QByteArray misread;  // a property libical would read as another number
    const auto flush = [&]() {
        if (misread.isEmpty())
            misread = NumberTooLong(logical);
        if (!logical.isEmpty() && misread.isEmpty()) {
            if (icalcomponent* p = icalparser_add_line(pParser, logical.data()))
                pRoot = pRoot ? (icalcomponent_free(p), pRoot) : p;
        }
        logical.resize(0);  // keeps its room for the next line
    };
    for (qsizetype nPos = 0; nPos < bytes.size();) {
        qsizetype nEol = bytes.indexOf('\n', nPos);
        if (nEol < 0)
            nEol = bytes.size();
        qsizetype n = nEol - nPos;
        if (n > 0 && bytes[nPos + n - 1] == '\r')
            --n;
        const char* p = bytes.constData() + nPos;
        nPos = nEol + 1;
        if (n > 0 && (p[0] == ' ' || p[0] == '\t') && !logical.isEmpty()) {
            logical.append(p + 1, n - 1);
            continue;
        }
        flush();
        logical.append(p, n);
    }
    flush();
    if (pRoot == nullptr && misread.isEmpty())
        pRoot = icalparser_clean(pParser);
    icalparser_free(pParser);
    if (misread.isEmpty())
        return pRoot;
    if (pRoot != nullptr)
        icalcomponent_free(pRoot);
    if (pstrWhy != nullptr)
        *pstrWhy = QStringLiteral("%1 holds a number of more than %2 digits").arg(QString::fromLatin1(misread)).arg(kMaxDigits);
    return nullptr;
}

icalcomponent* CICalStream::ParseCalendar(const QByteArray& text, QString* pstrWhy)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    QString strWhy;
    if (!CICalStream(&buffer).Scan([](const ICalBlock&, const QByteArray&) { return true; }, &strWhy, "-"))
        return pstrWhy ? (*pstrWhy = strWhy, nullptr) : nullptr;
    return Parse(text, pstrWhy);
}
