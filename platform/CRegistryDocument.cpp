#include "platform/CRegistryDocument.h"

#include "platform/RegistrySyntax.h"

#include <QStringDecoder>

namespace {

const QLatin1String kHeader("Windows Registry Editor Version 5.00");
const QLatin1String kOldHeader("REGEDIT4");

bool HasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// The file's text: UTF-16LE after its byte-order mark (regedit's own exports), else UTF-8.
// *pbLossy is set when bytes did not decode.
QString DecodeText(const QByteArray& bytes, bool* pbLossy)
{
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(bytes.mid(2));
        *pbLossy = decoder.hasError();
        return text;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    *pbLossy = decoder.hasError();
    return text;
}

// Joins continuation lines: a hex value may be wrapped with a backslash at the line end.
// Pieces are appended to the pending line in place, so a value wrapped over many lines
// costs time in proportion to its length.
QStringList LogicalLines(const QString& text)
{
    QStringList lines;
    QString pending;
    bool bPending = false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (bPending)
            pending.append(line.trimmed());
        else
            pending = line.toString();
        const bool bContinued = pending.endsWith(QLatin1Char('\\')) && pending.contains(QLatin1String("=hex"));
        if (bContinued) {
            pending.chop(1);
            bPending = true;
        } else {
            lines << pending;
            pending.clear();
            bPending = false;
        }
    }
    if (bPending)
        lines << pending + QLatin1Char('\\');
    return lines;
}

// The first line that is not empty, without the byte-order mark.
QString FirstLine(const QByteArray& bytes)
{
    bool bLossy = false;
    // The first kilobyte decides; a long first line needs no more to be told apart.
    const QString text = DecodeText(bytes.left(1024), &bLossy);
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const QStringView trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            return trimmed.toString();
    }
    return QString();
}

}  // namespace

bool CRegistryDocument::StartsAsRegistryFile(const QByteArray& bytes)
{
    const QString first = FirstLine(bytes);
    if (first.isEmpty())
        return bytes.trimmed().isEmpty() || bytes == "\xFF\xFE" || bytes == "\xEF\xBB\xBF";
    return first == kHeader || first == kOldHeader
        || (first.startsWith(QLatin1String("[HKEY_"), Qt::CaseInsensitive) && first.endsWith(QLatin1Char(']')));
}

QString CRegistryDocument::NormalizeKey(const QString& key)
{
    // Spaces and backslashes at the end go together, whatever their order, so that a
    // written name reads back as itself.
    QString normalized = key.trimmed();
    while (normalized.endsWith(QLatin1Char('\\')))
        normalized = normalized.chopped(1).trimmed();
    return normalized;
}

void CRegistryDocument::Parse(const QByteArray& bytes)
{
    m_keys.clear();
    m_nUnreadableLines = 0;
    QByteArray head = bytes;
    if (bytes.size() > kMaxBytes) {
        head = bytes.left(kMaxBytes);
        head.truncate(head.lastIndexOf('\n') + 1);
        ++m_nUnreadableLines;
    }
    bool bLossy = false;
    const QStringList lines = LogicalLines(DecodeText(head, &bLossy));
    if (bLossy)
        ++m_nUnreadableLines;
    Key* pCurrent = nullptr;
    bool bFirst = true;
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (bFirst && (trimmed == kHeader || trimmed == kOldHeader)) {
            bFirst = false;
            continue;
        }
        bFirst = false;
        ParseLine(trimmed, &pCurrent);
    }
}

void CRegistryDocument::ParseLine(const QString& line, Key** ppCurrent)
{
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
        const QString name = NormalizeKey(line.mid(1, line.size() - 2));
        if (name.isEmpty() || name.startsWith(QLatin1Char('-'))) {
            ++m_nUnreadableLines;  // a deletion entry or no name: nothing to keep
            *ppCurrent = nullptr;
            return;
        }
        AddKey(name);
        *ppCurrent = FindKey(name);
        return;
    }
    if (!*ppCurrent || !ParseValueLine(line, *ppCurrent))
        ++m_nUnreadableLines;
}

bool CRegistryDocument::ParseValueLine(const QString& line, Key* pKey)
{
    QString name;
    int pos = 0;
    if (line.startsWith(QLatin1Char('@')))
        pos = 1;  // the key's default value, whose name is empty
    else if (!RegistrySyntax::ReadQuoted(line, &pos, &name))
        return false;
    while (pos < line.size() && line.at(pos).isSpace())
        ++pos;
    if (pos >= line.size() || line.at(pos) != QLatin1Char('='))
        return false;
    RegValue value;
    if (!RegistrySyntax::ReadData(line.mid(pos + 1).trimmed(), &value))
        return false;
    if (PutValue(pKey, name, value))
        ++m_nUnreadableLines;  // the later line wins; the earlier one is lost
    return true;
}

CRegistryDocument::NamedValue* CRegistryDocument::FindValue(Key* pKey, const QString& name)
{
    const auto it = pKey->index.constFind(name.toCaseFolded());
    return it == pKey->index.constEnd() ? nullptr : &pKey->values[*it];
}

bool CRegistryDocument::PutValue(Key* pKey, const QString& name, const RegValue& value)
{
    if (NamedValue* pNamed = FindValue(pKey, name)) {
        pNamed->value = value;
        return true;
    }
    pKey->index.insert(name.toCaseFolded(), pKey->values.size());
    pKey->values.append(NamedValue{name, value});
    return false;
}

QByteArray CRegistryDocument::ToText() const
{
    QString text = kHeader + QStringLiteral("\n");
    for (const Key& key : m_keys) {
        text += QStringLiteral("\n[") + key.strName + QStringLiteral("]\n");
        for (const NamedValue& named : key.values) {
            const QString name = named.strName.isEmpty() ? QStringLiteral("@") : RegistrySyntax::Quote(named.strName);
            text += name + QLatin1Char('=') + RegistrySyntax::WriteData(named.value) + QLatin1Char('\n');
        }
    }
    return text.toUtf8();
}

CRegistryDocument::Key* CRegistryDocument::FindKey(const QString& key)
{
    const QString name = NormalizeKey(key);
    for (Key& k : m_keys) {
        if (k.strName.compare(name, Qt::CaseInsensitive) == 0)
            return &k;
    }
    return nullptr;
}

const CRegistryDocument::Key* CRegistryDocument::FindKey(const QString& key) const
{
    return const_cast<CRegistryDocument*>(this)->FindKey(key);
}

bool CRegistryDocument::HasKey(const QString& key) const { return FindKey(key) != nullptr; }

bool CRegistryDocument::AddKey(const QString& key)
{
    const QString name = NormalizeKey(key);
    if (name.isEmpty() || name.startsWith(QLatin1Char('-')) || HasLineBreak(name))
        return false;
    if (!FindKey(name))
        m_keys.append(Key{name, {}, {}});
    return true;
}

bool CRegistryDocument::QueryValue(const QString& key, const QString& name, RegValue* pValue) const
{
    Key* pKey = const_cast<CRegistryDocument*>(this)->FindKey(key);
    const NamedValue* pNamed = pKey ? FindValue(pKey, name) : nullptr;
    if (pNamed && pValue)
        *pValue = pNamed->value;
    return pNamed != nullptr;
}

bool CRegistryDocument::SetValue(const QString& key, const QString& name, const RegValue& value)
{
    if (HasLineBreak(name) || !AddKey(key))
        return false;
    PutValue(FindKey(key), name, value);
    return true;
}
