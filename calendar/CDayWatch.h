#pragma once
// Notices that today's date moved while the program runs: at local midnight, when the
// clock is set, and when the machine's zone changes. A check runs just after each local
// midnight and at least once a minute; a test with a fixed clock calls Check itself.
#include "calendar/DateTime.h"
#include "platform/WinTypes.h"
#include <QTimer>
#include <functional>

class CDayWatch {
public:
    // onChange is called with the date that was today until then.
    explicit CDayWatch(std::function<void(const DateTime& oldToday)> onChange);
    CDayWatch(const CDayWatch&) = delete;
    CDayWatch& operator=(const CDayWatch&) = delete;

    // Takes the current date as today and starts checking.
    void Start();
    BOOL IsRunning() const { return m_bStarted ? TRUE : FALSE; }
    // Reads the zone again and compares the current date with today; when either moved,
    // today becomes the current date and the callback runs. TRUE when it ran.
    BOOL Check();

    // Milliseconds from the local wall time to the next check: just past the next
    // midnight, but at most a minute, so that a clock set by hand is noticed soon.
    static int MillisecondsToNextCheck(const SYSTEMTIME& now);

private:
    void Arm();

    std::function<void(const DateTime&)> m_onChange;
    QTimer m_timer;
    DateTime m_today;
    bool m_bStarted = false;
};
