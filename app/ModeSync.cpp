#include "app/CommandModes.h"

#include "app/CCommandLine.h"
#include "pim/CPimStore.h"
#include "pim/IPOutlookApp.h"
#include "sync/CDavClient.h"
#include "sync/CDavDiscovery.h"
#include "sync/CKeyring.h"
#include "sync/CPasswordFile.h"
#include "sync/CSyncAccounts.h"
#include "sync/CSyncEngine.h"
#include "sync/CSyncState.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

void Print(FILE* pOut, const QString& strText)
{
    std::fprintf(pOut, "%s\n", strText.toLocal8Bit().constData());
}

// The network needs an event loop owner; command-line modes have no application yet.
struct CoreApp
{
    int argc = 1;
    char name[9] = "quillday";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

bool PasswordOf(const QString& strFile, QString* pstrPassword)
{
    if (strFile.isEmpty())
        return true;
    QString strReason;
    if (CPasswordFile::Read(strFile, *pstrPassword, strReason))
        return true;
    Print(stderr, QStringLiteral("quillday: ") + strReason);
    return false;
}

// The password typed on the terminal (not shown), or the first line of standard input.
QString PasswordFromInput(const QString& strUser, const QString& strUrl)
{
    const bool bTerminal = isatty(STDIN_FILENO) == 1;
    termios before{};
    if (bTerminal) {
        std::fprintf(stderr, "Password for %s at %s: ", strUser.toLocal8Bit().constData(), strUrl.toLocal8Bit().constData());
        tcgetattr(STDIN_FILENO, &before);
        termios silent = before;
        silent.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    }
    std::string line;
    std::getline(std::cin, line);
    if (bTerminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &before);
        std::fputc('\n', stderr);
    }
    return QString::fromLocal8Bit(line.c_str());
}

// An account's password: from its file, else from the keyring when it has a user, else
// none.
bool PasswordOfAccount(const SyncAccount& account, QString* pstrPassword)
{
    if (!account.strPasswordFile.isEmpty() || account.strUser.isEmpty())
        return PasswordOf(account.strPasswordFile, pstrPassword);
    QString strReason;
    if (CKeyring::Read(CKeyring::KeyOf(account.strUser, account.strUrl), pstrPassword, &strReason))
        return true;
    Print(stderr, QStringLiteral("quillday: %1: the password of %2 could not be read from %3")
                      .arg(account.strUrl, account.strUser, strReason));
    return false;
}

// The calendar the account syncs: the one named by --calendar, else the only one there is,
// else the only one that holds both appointments and tasks.
bool ChooseCalendar(const QList<DavCalendar>& calendars, const QString& strWanted, QUrl* pChosen)
{
    QList<DavCalendar> fit;
    for (const DavCalendar& cal : calendars) {
        const bool bNamed = cal.url.toString() == strWanted || cal.url.path() == strWanted
                            || cal.url.path() == strWanted + u'/';
        const bool bBoth = cal.components.isEmpty()
                           || (cal.components.contains(u"VEVENT") && cal.components.contains(u"VTODO"));
        if (strWanted.isEmpty() ? bBoth : bNamed)
            fit << cal;
    }
    if (fit.size() == 1) {
        *pChosen = fit[0].url;
        return true;
    }
    Print(stderr, strWanted.isEmpty() ? QStringLiteral("quillday: choose a calendar with --calendar HREF:")
                                      : QStringLiteral("quillday: no calendar %1; there are:").arg(strWanted));
    for (const DavCalendar& cal : calendars)
        Print(stderr, QStringLiteral("  %1  %2 (%3)").arg(cal.url.path(), cal.strName, cal.components.join(u',')));
    return false;
}

void PrintReport(const QString& strCalendar, const SyncReport& r)
{
    Print(stdout, QStringLiteral("%1: sent %2, received %3, deleted here %4, deleted there %5, conflicts %6, skipped %7")
                      .arg(strCalendar).arg(r.nSent).arg(r.nReceived).arg(r.nDeletedHere).arg(r.nDeletedThere)
                      .arg(r.nConflicts).arg(r.skipped.size()));
    for (const QString& strLine : r.skipped)
        Print(stdout, QStringLiteral("  skipped ") + strLine);
    for (const QString& strLine : r.errors)
        Print(stdout, QStringLiteral("  left for next time: ") + strLine);
}

} // namespace

int RunAddAccountMode(const CCommandLine& cmd)
{
    CoreApp core;
    const QUrl url(cmd.m_strAccount, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") || url.host().isEmpty()) {
        Print(stderr, QStringLiteral("quillday: --add-account: '%1' is not an http or https address")
                          .arg(CDavClient::Shown(url)));
        return CCommandLine::kUsageExitStatus;
    }
    QString strPassword;
    const QString strPasswordFile = cmd.m_strPasswordFile.isEmpty() ? QString()
                                                                    : QFileInfo(cmd.m_strPasswordFile).absoluteFilePath();
    if (!PasswordOf(strPasswordFile, &strPassword))
        return CCommandLine::kUsageExitStatus;
    // Without a file the password is asked for, and kept in the keyring once it worked.
    const bool bKeyring = strPasswordFile.isEmpty() && !cmd.m_strUser.isEmpty();
    if (bKeyring)
        strPassword = PasswordFromInput(cmd.m_strUser, CDavClient::Shown(url));
    CDavClient client(cmd.m_strUser, strPassword);
    client.SetAcceptedFingerprint(cmd.m_strFingerprint);
    QList<DavCalendar> calendars;
    QString strError;
    if (!CDavDiscovery(client).Find(url, calendars, strError)) {
        Print(stderr, QStringLiteral("quillday: ") + strError);
        return 1;
    }
    QUrl chosen;
    if (!ChooseCalendar(calendars, cmd.m_strCalendar, &chosen))
        return CCommandLine::kUsageExitStatus;
    QList<SyncAccount> accounts = CSyncAccounts::Load();
    const SyncAccount account{CDavClient::Shown(url), cmd.m_strUser, strPasswordFile, CDavClient::Shown(chosen),
                              cmd.m_strFingerprint};
    QString strReason;
    if (bKeyring && !CKeyring::Write(CKeyring::KeyOf(account.strUser, account.strUrl), strPassword, &strReason)) {
        Print(stderr, QStringLiteral("quillday: the password could not be kept in %1; give --password-file FILE "
                                     "(a file only its owner can read) instead").arg(strReason));
        return 1;
    }
    const int nAt = CSyncAccounts::IndexOf(accounts, account.strUrl);
    if (nAt >= 0)
        accounts[nAt] = account;
    else
        accounts << account;
    if (!CSyncAccounts::Save(accounts)) {
        Print(stderr, QStringLiteral("quillday: the settings could not be written"));
        return 1;
    }
    Print(stdout, QStringLiteral("account %1: calendar %2").arg(account.strUrl, account.strCalendar));
    return 0;
}

int RunListAccountsMode()
{
    for (const SyncAccount& a : CSyncAccounts::Load())
        Print(stdout, QStringLiteral("%1\tuser %2\tcalendar %3").arg(a.strUrl, a.strUser.isEmpty() ? QStringLiteral("-") : a.strUser,
                                                                    a.strCalendar)
                          + (a.strFingerprint.isEmpty() ? QString() : QStringLiteral("\tfingerprint ") + a.strFingerprint));
    return 0;
}

int RunRemoveAccountMode(const CCommandLine& cmd)
{
    CoreApp core;
    QList<SyncAccount> accounts = CSyncAccounts::Load();
    const int nAt = CSyncAccounts::IndexOf(accounts, cmd.m_strAccount);
    if (nAt < 0) {
        Print(stderr, QStringLiteral("quillday: no account %1").arg(cmd.m_strAccount));
        return CCommandLine::kUsageExitStatus;
    }
    std::shared_ptr<CPimStore> pStore;
    if (SUCCEEDED(CPimStore::Open(IPOutlookApp::DefaultStorePath(), &pStore)))
        CSyncState(pStore, accounts[nAt].strCalendar).Forget();
    const SyncAccount& account = accounts[nAt];
    QString strReason;
    if (account.strPasswordFile.isEmpty() && !account.strUser.isEmpty()
        && !CKeyring::Remove(CKeyring::KeyOf(account.strUser, account.strUrl), &strReason))
        Print(stderr, QStringLiteral("quillday: the password stays in %1").arg(strReason));
    accounts.removeAt(nAt);
    return CSyncAccounts::Save(accounts) ? 0 : 1;
}

int RunSyncMode()
{
    CoreApp core;
    std::shared_ptr<CPimStore> pStore;
    QString strReason;
    if (FAILED(CPimStore::Open(IPOutlookApp::DefaultStorePath(), &pStore, &strReason))) {
        Print(stderr, QStringLiteral("quillday: cannot open the store: ") + strReason);
        return 1;
    }
    bool bAllDone = true;
    for (const SyncAccount& account : CSyncAccounts::Load()) {
        QString strPassword;
        if (!PasswordOfAccount(account, &strPassword)) {
            bAllDone = false;
            continue;
        }
        CDavClient client(account.strUser, strPassword);
        client.SetAcceptedFingerprint(account.strFingerprint);
        const SyncReport report = CSyncEngine(client, pStore, QUrl(account.strCalendar)).Sync();
        PrintReport(account.strCalendar, report);
        bAllDone = bAllDone && report.Complete();
    }
    return bAllDone ? 0 : 1;
}
