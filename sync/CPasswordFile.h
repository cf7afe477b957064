#pragma once
#include <QString>

// A password kept in a file for use without a keyring: the file must be a regular file
// that only its owner may read or write; its first line is the password.
class CPasswordFile
{
public:
    // Reads the password; on refusal returns false with the reason in strReason (which
    // never holds the password).
    static bool Read(const QString& strPath, QString& strPassword, QString& strReason);
};
