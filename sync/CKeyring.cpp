#include "sync/CKeyring.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("Quillday");

// Runs the job to its end; false with the keyring's reason on failure.
bool RunJob(QKeychain::Job& job, const QString& strKey, QString* pstrReason)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.setKey(strKey);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() == QKeychain::NoError)
        return true;
    *pstrReason = QStringLiteral("the keyring: %1").arg(job.errorString());
    return false;
}

}  // namespace

QString CKeyring::KeyOf(const QString& strUser, const QString& strUrl)
{
    return strUser + u'@' + strUrl;
}

bool CKeyring::Write(const QString& strKey, const QString& strPassword, QString* pstrReason)
{
    QKeychain::WritePasswordJob job(kService);
    job.setTextData(strPassword);
    return RunJob(job, strKey, pstrReason);
}

bool CKeyring::Read(const QString& strKey, QString* pstrPassword, QString* pstrReason)
{
    QKeychain::ReadPasswordJob job(kService);
    if (!RunJob(job, strKey, pstrReason))
        return false;
    *pstrPassword = job.textData();
    return true;
}

bool CKeyring::Remove(const QString& strKey, QString* pstrReason)
{
    QKeychain::DeletePasswordJob job(kService);
    return RunJob(job, strKey, pstrReason) || job.error() == QKeychain::EntryNotFound;
}
