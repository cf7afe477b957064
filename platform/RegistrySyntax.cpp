#include "platform/RegistrySyntax.h"

#include <QRegularExpression>

namespace RegistrySyntax {

namespace {

QByteArray Utf16LeWithNul(const QString& text)
{
    QByteArray bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    bytes.append('\0').append('\0');
    return bytes;
}

// The text of UTF-16LE string data when it can be written as a quoted string: an even
// length, one NUL at the end and none before, and no line breaks.
bool PlainString(const QByteArray& data, QString* pText)
{
    if (data.size() < 2 || data.size() % 2 != 0)
        return false;
    QString text;
    for (int i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<uchar>(data[i]) | (static_cast<uchar>(data[i + 1]) << 8));
        const bool bLast = i + 2 == data.size();
        if ((unit == 0) != bLast || unit == u'\r' || unit == u'\n')
            return false;
        if (!bLast)
            text.append(QChar(unit));
    }
    *pText = text;
    return true;
}

bool ReadHexBytes(const QString& list, QByteArray* pBytes)
{
    pBytes->clear();
    const QString compact = QString(list).remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    if (compact.isEmpty())
        return true;
    for (const QString& item : compact.split(QLatin1Char(','))) {
        bool bOk = false;
        const uint byte = item.toUInt(&bOk, 16);
        if (!bOk || item.size() > 2 || byte > 0xFF)
            return false;
        pBytes->append(static_cast<char>(byte));
    }
    return true;
}

QString WriteHexBytes(const QByteArray& bytes)
{
    QStringList items;
    for (const char byte : bytes)
        items << QStringLiteral("%1").arg(static_cast<uchar>(byte), 2, 16, QLatin1Char('0'));
    return items.join(QLatin1Char(','));
}

}  // namespace

bool ReadQuoted(const QString& line, int* pPos, QString* pText)
{
    int pos = *pPos;
    if (pos >= line.size() || line.at(pos) != QLatin1Char('"'))
        return false;
    QString text;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line.at(pos);
        if (c == QLatin1Char('"')) {
            *pPos = pos + 1;
            *pText = text;
            return true;
        }
        if (c == QLatin1Char('\\')) {
            if (pos + 1 >= line.size())
                return false;
            const QChar next = line.at(++pos);
            if (next != QLatin1Char('\\') && next != QLatin1Char('"'))
                return false;
            text.append(next);
        } else {
            text.append(c);
        }
    }
    return false;  // no closing quote
}

QString Quote(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool ReadData(const QString& data, RegValue* pValue)
{
    static const QRegularExpression dword(QStringLiteral("^dword:([0-9A-Fa-f]{1,8})$"));
    static const QRegularExpression hex(QStringLiteral("^hex(?:\\(([0-9A-Fa-f]{1,8})\\))?:(.*)$"));
    if (data.startsWith(QLatin1Char('"'))) {
        int pos = 0;
        QString text;
        if (!ReadQuoted(data, &pos, &text) || pos != data.size())
            return false;
        *pValue = RegValue{RegType::String, Utf16LeWithNul(text)};
        return true;
    }
    if (const QRegularExpressionMatch m = dword.match(data); m.hasMatch()) {
        const uint32_t n = m.captured(1).toUInt(nullptr, 16);
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
        *pValue = RegValue{RegType::Dword, bytes};
        return true;
    }
    const QRegularExpressionMatch m = hex.match(data);
    RegValue value{RegType::Binary, QByteArray()};
    value.nHexKind = m.captured(1).isEmpty() ? kBinaryHexKind : m.captured(1).toUInt(nullptr, 16);
    if (!m.hasMatch() || !ReadHexBytes(m.captured(2), &value.data))
        return false;
    if (value.nHexKind == 1)
        value.type = RegType::String;
    else if (value.nHexKind == 4)
        value.type = RegType::Dword;
    *pValue = value;
    return true;
}

QString WriteData(const RegValue& value)
{
    QString text;
    if (value.type == RegType::String && PlainString(value.data, &text))
        return Quote(text);
    if (value.type == RegType::Dword && value.data.size() == 4) {
        uint32_t n = 0;
        for (int i = 3; i >= 0; --i)
            n = (n << 8) | static_cast<uchar>(value.data[i]);
        return QStringLiteral("dword:%1").arg(n, 8, 16, QLatin1Char('0'));
    }
    // Other data keeps its type number: 1 a string, 4 a dword that is not 4 bytes long.
    const uint32_t nKind = value.type == RegType::String ? 1 : value.type == RegType::Dword ? 4 : value.nHexKind;
    const QString prefix = nKind == kBinaryHexKind ? QStringLiteral("hex:") : QStringLiteral("hex(%1):").arg(nKind, 0, 16);
    return prefix + WriteHexBytes(value.data);
}

}  // namespace RegistrySyntax
