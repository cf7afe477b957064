#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// One CalDAV account as the settings keep it. The password itself is never kept here:
// strPasswordFile names an owner-only file that holds it; without one, an account with a
// user has its password in the desktop's keyring.
struct SyncAccount
{
    QString strUrl;            // the address given to --add-account
    QString strUser;
    QString strPasswordFile;
    QString strCalendar;       // the calendar collection's URL
    QString strFingerprint;    // SHA-256 of a server certificate accepted though not trusted
};

// The accounts in the settings (the registry), one string value each under
// SOFTWARE\Quillday\Sync: "Account<n>" = URL, user, password file, calendar and (when
// there is one) the accepted fingerprint, tab-separated.
class CSyncAccounts
{
public:
    static QList<SyncAccount> Load();
    static bool Save(const QList<SyncAccount>& accounts);
    static int IndexOf(const QList<SyncAccount>& accounts, const QString& strUrl);

private:
    static QString ValueName(int nIndex);
    static QStringList Fields(const SyncAccount& account);
};
