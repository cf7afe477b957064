#include "sync/CSyncAccounts.h"

#include "platform/CRegistry.h"
#include "platform/RegistryFile.h"

namespace {
const QString kKey = QStringLiteral("SOFTWARE\\Quillday\\Sync");
constexpr int kMaxAccounts = 64;

bool WriteString(const QString& strName, const QString& strText)
{
    RegValue value;
    value.type = RegType::String;
    for (QChar ch : strText + QChar(0)) {
        value.data.append(char(ch.unicode() & 0xFF));
        value.data.append(char(ch.unicode() >> 8));
    }
    return RegistrySetValue(CRegistry::KeyPath(HKEY_CURRENT_USER, kKey), strName, value);
}
}

QStringList CSyncAccounts::Fields(const SyncAccount& a)
{
    QStringList fields{a.strUrl, a.strUser, a.strPasswordFile, a.strCalendar};
    if (!a.strFingerprint.isEmpty())
        fields << a.strFingerprint;
    return fields;
}

QString CSyncAccounts::ValueName(int nIndex)
{
    return QStringLiteral("Account%1").arg(nIndex);
}

QList<SyncAccount> CSyncAccounts::Load()
{
    QList<SyncAccount> accounts;
    CRegistry reg;
    // Save keeps the accounts in values from Account0 on, without gaps: the first empty
    // value ends them (each read reads the file again).
    for (int i = 0; i < kMaxAccounts; ++i) {
        const QString strValue = reg.ReadString(HKEY_CURRENT_USER, kKey, ValueName(i), QString());
        if (strValue.isEmpty())
            break;
        const QStringList fields = strValue.split(u'\t');
        if (fields.size() < 4 || fields.size() > 5 || fields[0].isEmpty())
            continue;
        accounts.append({fields[0], fields[1], fields[2], fields[3], fields.value(4)});
    }
    return accounts;
}

bool CSyncAccounts::Save(const QList<SyncAccount>& accounts)
{
    if (accounts.size() > kMaxAccounts)
        return false;
    bool bOk = true;
    for (int i = 0; i < kMaxAccounts && bOk; ++i) {
        const QString strText = i < accounts.size()
            ? Fields(accounts[i]).join(u'\t')
            : QString();
        CRegistry reg;
        if (i >= accounts.size() && reg.ReadString(HKEY_CURRENT_USER, kKey, ValueName(i), QString()).isEmpty())
            continue;
        bOk = WriteString(ValueName(i), strText);
    }
    return bOk;
}

int CSyncAccounts::IndexOf(const QList<SyncAccount>& accounts, const QString& strUrl)
{
    for (int i = 0; i < accounts.size(); ++i) {
        if (accounts[i].strUrl == strUrl || accounts[i].strCalendar == strUrl)
            return i;
    }
    return -1;
}
