#include "ical/CICalStream.h"

#include <QIODevice>
#include <QVector>
#include <cctype>
#include <cstring>

namespace {

constexpr qint64 kPieceBytes = 1 << 20;
constexpr int kMaxDepth = 16;  // components inside one another, VCALENDAR included
const char kBom[] = "\xEF\xBB\xBF";

enum class EComponentLine { None, Begin, End, Malformed };

// A line whose name is BEGIN or END opens or closes a component only when it is exactly
// "BEGIN:NAME" or "END:NAME", the name made of letters, digits and '-'; any other line with
// that name is malformed. *pName is the name in capitals.
EComponentLine ComponentLine(const QByteArray& line, QByteArray* pName)
{
    const auto keyed = [&](const char* pszKey) {
        const qsizetype k = qsizetype(std::strlen(pszKey));
        if (line.size() < k || qstrnicmp(line.constData(), pszKey, k) != 0)
            return false;
        return line.size() == k || !(std::isalnum(uchar(line[k])) || line[k] == '-');
    };
    const bool bBegin = keyed("BEGIN");
    if (!bBegin && !keyed("END"))
        return EComponentLine::None;
    const qsizetype k = bBegin ? 5 : 3;
    if (line.size() <= k + 1 || line[k] != ':')
        return EComponentLine::Malformed;
    for (qsizetype i = k + 1; i < line.size(); ++i) {
        if (!std::isalnum(uchar(line[i])) && line[i] != '-')
            return EComponentLine::Malformed;
    }
    *pName = line.mid(k + 1).toUpper();
    return bBegin ? EComponentLine::Begin : EComponentLine::End;
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
    qsizetype nFrom = m_nBufferPos;
    qsizetype nEol = -1;
    while ((nEol = m_buffer.indexOf('\n', nFrom)) < 0) {
        const qsizetype nSearched = m_buffer.size() - m_nBufferPos;
        if (!Fill())
            break;
        nFrom = m_nBufferPos + nSearched;
    }
    if (nEol < 0 && m_nBufferPos >= m_buffer.size())
        return false;
    const qsizetype nStart = m_nBufferPos;
    const qsizetype nStop = nEol >= 0 ? nEol : m_buffer.size();
    qsizetype n = nStop - nStart;
    if (n > 0 && m_buffer[nStart + n - 1] == '\r')
        --n;
    *pLine = m_buffer.mid(nStart, n);
    *pnBegin = m_nBufferStart + nStart;
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
        if (stack.size() >= 2 && bKeepBytes)
            bytes.append(m_buffer.constData() + (nBegin - m_nBufferStart), nEnd - nBegin);
        if (bInUid && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
            uid.append(line.constData() + 1, line.size() - 1);
            continue;
        }
        bInUid = false;
        const EComponentLine kind = ComponentLine(line, &value);
        if (kind == EComponentLine::Malformed)
            return *pstrError = QStringLiteral("line %1: a malformed BEGIN or END line").arg(nLine), false;
        if (kind == EComponentLine::Begin) {
            if (stack.size() >= kMaxDepth)
                return *pstrError = QStringLiteral("line %1: components nested deeper than %2").arg(nLine).arg(kMaxDepth),
                       false;
            if (stack.isEmpty() && value != "VCALENDAR")
                return *pstrError = QStringLiteral("line %1: not inside a VCALENDAR").arg(nLine), false;
            if (stack.size() == 1) {
                block = ICalBlock();
                block.nBegin = nBegin;
                uid.clear();
                bKeepBytes = bytesOf.isEmpty() || value == bytesOf;
                bytes = bKeepBytes ? m_buffer.mid(nBegin - m_nBufferStart, nEnd - nBegin) : QByteArray();
            }
            nCalendars += stack.isEmpty();
            stack.push_back(value);
        } else if (kind == EComponentLine::End) {
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

namespace {

// Calls fnLine with each unfolded content line of bytes, line ends removed.
void ForEachLogicalLine(const QByteArray& bytes, const std::function<void(const QByteArray&)>& fnLine)
{
    QByteArray logical;
    const auto flush = [&]() {
        if (!logical.isEmpty())
            fnLine(logical);
        logical.clear();
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
}

// True when every BEGIN and END line is well formed and components nest within the bound.
bool ComponentLinesSound(const QByteArray& bytes)
{
    bool bSound = true;
    int nDepth = 0;
    QByteArray name;
    ForEachLogicalLine(bytes, [&](const QByteArray& line) {
        const EComponentLine kind = ComponentLine(line, &name);
        nDepth += kind == EComponentLine::Begin ? 1 : kind == EComponentLine::End ? -1 : 0;
        bSound = bSound && kind != EComponentLine::Malformed && nDepth <= kMaxDepth;
    });
    return bSound;
}

}  // namespace

icalcomponent* CICalStream::Parse(const QByteArray& bytes)
{
    // libical is handed only well-formed BEGIN and END lines, nested within the bound.
    if (!ComponentLinesSound(bytes))
        return nullptr;
    icalparser* pParser = icalparser_new();
    icalcomponent* pRoot = nullptr;
    ForEachLogicalLine(bytes, [&](const QByteArray& line) {
        QByteArray copy = line;
        if (icalcomponent* p = icalparser_add_line(pParser, copy.data()))
            pRoot = pRoot ? (icalcomponent_free(p), pRoot) : p;
    });
    if (pRoot == nullptr)
        pRoot = icalparser_clean(pParser);
    icalparser_free(pParser);
    return pRoot;
}
