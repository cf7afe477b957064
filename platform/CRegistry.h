#pragma once
// Reads and writes registry values. Holds no open key: every call opens (or creates) the
// key, does one thing and closes it again, so an instance can live on the stack for a
// burst of calls.
#include "platform/WinTypes.h"

#include <QString>

// A root key, named as in the registry file ("HKEY_LOCAL_MACHINE").
typedef const char* HKEY;
inline constexpr HKEY HKEY_LOCAL_MACHINE = "HKEY_LOCAL_MACHINE";
inline constexpr HKEY HKEY_CURRENT_USER = "HKEY_CURRENT_USER";

class CRegistry {
public:
    // The stored 32-bit value, or dwDefault on any failure. The stored type is not checked:
    // any value of at most 4 bytes is returned as read; a longer one gives the default.
    DWORD ReadDWORD(HKEY hRoot, const QString& strSubKey, const QString& strName, DWORD dwDefault) const;
    // The stored text up to its first NUL, or strDefault on any failure.
    QString ReadString(HKEY hRoot, const QString& strSubKey, const QString& strName,
                       const QString& strDefault) const;
    // Sets the value as a 4-byte REG_DWORD; TRUE when it was set.
    BOOL WriteDWORD(HKEY hRoot, const QString& strSubKey, const QString& strName, DWORD dwValue) const;

    static QString KeyPath(HKEY hRoot, const QString& strSubKey);
};
