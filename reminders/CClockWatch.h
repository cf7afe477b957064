#pragma once
// One timer on the real-time clock that wakes the process when the next reminder is due,
// and tells when the clock jumped instead: set by hand or by the network, after the
// machine slept, or when the machine's time zone changed. It never wakes for anything
// else: no polling (a Linux timerfd armed with an absolute time and cancelled when the
// clock is set, and a watch of the zone files in /etc).
#include <QObject>
#include <QString>
#include <cstdint>

class QFileSystemWatcher;
class QSocketNotifier;

class CClockWatch : public QObject {
    Q_OBJECT
public:
    explicit CClockWatch(QObject* pParent = nullptr);
    ~CClockWatch() override;

    // Wakes at nUtc by the program's clock (platform/Clock: may be shifted), or only for
    // clock jumps when nUtc is past every time the timer can hold. A clock that stands
    // still (fixed by a test) never wakes the timer.
    void WakeAt(int64_t nUtc);
    int64_t WakeTime() const { return m_nWakeAt; }

signals:
    void Due();
    // The clock jumped or the zone changed: what is due must be worked out afresh.
    void ClockChanged();

private:
    void OnTimer();
    void OnZoneFiles();
    void Arm();

    int m_nTimerFd = -1;
    QSocketNotifier* m_pNotifier = nullptr;
    QFileSystemWatcher* m_pZoneWatch = nullptr;
    int64_t m_nWakeAt = 0;
};
