#include "app/CWindowSync.h"

#include "platform/ProgramFolder.h"
#include "platform/RegistryFile.h"
#include "platform/StorePath.h"
#include "sync/CSyncAccounts.h"
#include <QCoreApplication>

CWindowSync::CWindowSync(QObject* pParent)
    : QObject(pParent)
    , m_strProgram(QCoreApplication::applicationFilePath())
{
    m_soon.setSingleShot(true);
    SetDelays(kAfterChangeMs, kEveryMs);
    connect(&m_soon, &QTimer::timeout, this, &CWindowSync::Run);
    connect(&m_every, &QTimer::timeout, this, &CWindowSync::Run);
    connect(&m_process, &QProcess::finished, this, &CWindowSync::Finished);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Finished(-1, QProcess::CrashExit);
    });
}

// A run still going when the window closes is stopped: each of its steps is a
// transaction of its own, so the store keeps the steps that were done, and the next run
// does the rest.
CWindowSync::~CWindowSync()
{
    m_process.disconnect(this);
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(2000))
            m_process.kill();
    }
}

void CWindowSync::SetDelays(int nAfterChangeMs, int nEveryMs)
{
    m_soon.setInterval(nAfterChangeMs);
    m_every.setInterval(nEveryMs);
}

bool CWindowSync::HasAccounts()
{
    return !CSyncAccounts::Load().isEmpty();
}

void CWindowSync::Start()
{
    if (!HasAccounts())
        return;
    m_every.start();
    Run();
}

void CWindowSync::SyncSoon()
{
    if (HasAccounts())
        m_soon.start();
}

void CWindowSync::SyncNow()
{
    if (HasAccounts())
        Run();
}

void CWindowSync::Run()
{
    m_soon.stop();
    if (m_process.state() != QProcess::NotRunning) {
        m_bPending = true;
        return;
    }
    m_bPending = false;
    QStringList args{QStringLiteral("--sync"), QStringLiteral("--store"), GetStorePath(),
                     QStringLiteral("--registry"), GetRegistryPath(), QStringLiteral("--home"), GetProgramFolder()};
    m_process.start(m_strProgram, args);
    SetState(EState::Running);
}

void CWindowSync::Finished(int nExitCode, QProcess::ExitStatus status)
{
    const QString strOut = QString::fromLocal8Bit(m_process.readAllStandardOutput());
    const QString strErr = status == QProcess::NormalExit ? QString::fromLocal8Bit(m_process.readAllStandardError())
                                                          : m_process.errorString();
    if (ReadOutcome(status == QProcess::NormalExit ? nExitCode : -1, strOut, strErr, &m_strFailure)) {
        m_lastSynced = QDateTime::currentDateTime();
        SetState(EState::Synced);
    } else {
        SetState(EState::Failed);
    }
    if (m_bPending)
        Run();
}

void CWindowSync::SetState(EState state)
{
    m_state = state;
    emit stateChanged();
}

bool CWindowSync::ReadOutcome(int nExitCode, const QString& strOut, const QString& strErr, QString* pstrFailure)
{
    pstrFailure->clear();
    if (nExitCode == 0)
        return true;
    static const QString kLeft = QStringLiteral("left for next time: ");
    for (const QString& strLine : strOut.split(QLatin1Char('\n'))) {
        const int nAt = strLine.indexOf(kLeft);
        if (nAt >= 0) {
            *pstrFailure = strLine.mid(nAt + kLeft.size()).trimmed();
            return false;
        }
    }
    QString strReason = strErr.trimmed().section(QLatin1Char('\n'), 0, 0);
    if (strReason.startsWith(QLatin1String("quillday: ")))
        strReason = strReason.mid(10);
    *pstrFailure = strReason.isEmpty() ? QStringLiteral("exit status %1").arg(nExitCode) : strReason;
    return false;
}
