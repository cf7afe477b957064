#include "platform/CRegistry.h"

#include "platform/RegistryFile.h"

#include <cstring>

namespace {

constexpr int kDwordBytes = 4;

}  // namespace

QString CRegistry::KeyPath(HKEY hRoot, const QString& strSubKey)
{
    return QString::fromLatin1(hRoot) + QLatin1Char('\\') + strSubKey;
}

DWORD CRegistry::ReadDWORD(HKEY hRoot, const QString& strSubKey, const QString& strName, DWORD dwDefault) const
{
    const QString key = KeyPath(hRoot, strSubKey);
    if (!RegistryCreateKey(key))
        return dwDefault;
    RegValue value;
    if (!RegistryQueryValue(key, strName, &value) || value.data.size() > kDwordBytes)
        return dwDefault;
    // Fewer than four bytes fill the low bytes of the value; the rest stays zero.
    unsigned char bytes[kDwordBytes] = {0, 0, 0, 0};
    std::memcpy(bytes, value.data.constData(), static_cast<size_t>(value.data.size()));
    return static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) | (static_cast<DWORD>(bytes[2]) << 16)
           | (static_cast<DWORD>(bytes[3]) << 24);
}

QString CRegistry::ReadString(HKEY hRoot, const QString& strSubKey, const QString& strName,
                              const QString& strDefault) const
{
    const QString key = KeyPath(hRoot, strSubKey);
    if (!RegistryCreateKey(key))
        return strDefault;
    RegValue value;
    if (!RegistryQueryValue(key, strName, &value))
        return strDefault;
    // size / 2 characters of UTF-16LE; the text ends at its first NUL.
    QString text;
    for (int i = 0; i + 1 < value.data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(value.data[i])
                                                | (static_cast<unsigned char>(value.data[i + 1]) << 8));
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

BOOL CRegistry::WriteDWORD(HKEY hRoot, const QString& strSubKey, const QString& strName, DWORD dwValue) const
{
    RegValue value;
    value.type = RegType::Dword;
    for (int i = 0; i < kDwordBytes; ++i)
        value.data.append(static_cast<char>((dwValue >> (8 * i)) & 0xFF));
    return RegistrySetValue(KeyPath(hRoot, strSubKey), strName, value) ? TRUE : FALSE;
}
