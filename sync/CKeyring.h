#pragma once
// Account passwords in the desktop's keyring (the Secret Service, through QtKeychain).
// Each call waits for the keyring's answer. The reasons never hold a password.
#include <QString>

class CKeyring
{
public:
    // The keyring entry of the user's login at the account's address.
    static QString KeyOf(const QString& strUser, const QString& strUrl);

    static bool Write(const QString& strKey, const QString& strPassword, QString* pstrReason);
    static bool Read(const QString& strKey, QString* pstrPassword, QString* pstrReason);
    // Removes the entry; true also when there was none.
    static bool Remove(const QString& strKey, QString* pstrReason);
};
