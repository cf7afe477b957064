#pragma once
// The window's syncing with its calendar servers: `quillday --sync` run as a process of
// its own on the same store and settings, so the network and the store writes never hold
// up the window, which sees the other process's commits as it sees any. It runs when the
// window starts, a few seconds after each change made in the window, every few minutes,
// and on demand; a request while a run is going is kept for when it ends.
#include <QDateTime>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

class CWindowSync : public QObject {
    Q_OBJECT
public:
    enum class EState { Off, Running, Synced, Failed };
    static constexpr int kAfterChangeMs = 4000;
    static constexpr int kEveryMs = 5 * 60 * 1000;

    explicit CWindowSync(QObject* pParent = nullptr);
    ~CWindowSync() override;

    // The program that syncs (this one by default) and the delays (tests shorten them).
    void SetProgram(const QString& strProgram) { m_strProgram = strProgram; }
    void SetDelays(int nAfterChangeMs, int nEveryMs);

    // Whether the settings name any account; without one nothing ever runs.
    static bool HasAccounts();
    // The first run and the periodic ones.
    void Start();
    void SyncSoon();
    void SyncNow();

    EState State() const { return m_state; }
    const QDateTime& LastSynced() const { return m_lastSynced; }
    // Why the last run did not go through, as it said.
    const QString& LastFailure() const { return m_strFailure; }

    // What a finished run's exit and output mean: true when all went through, else
    // *pstrFailure is its first reason.
    static bool ReadOutcome(int nExitCode, const QString& strOut, const QString& strErr, QString* pstrFailure);

signals:
    void stateChanged();

private:
    void Run();
    void Finished(int nExitCode, QProcess::ExitStatus status);
    void SetState(EState state);

    QString m_strProgram;
    QProcess m_process;
    QTimer m_soon;
    QTimer m_every;
    bool m_bPending = false;
    EState m_state = EState::Off;
    QDateTime m_lastSynced;
    QString m_strFailure;
};
