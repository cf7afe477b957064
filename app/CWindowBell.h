#pragma once
// How the window rings reminders: as desktop notifications, or, where no notification
// service answers, in boxes of its own over the window. It always shows the reminder.
#include "reminders/CNotificationBell.h"
#include "reminders/IReminderBell.h"
#include <QObject>
#include <QPointer>

class QWidget;
class StringTable;

class CWindowBell : public QObject, public IReminderBell {
    Q_OBJECT
public:
    CWindowBell(const StringTable& strings, bool bUse24Hour, QWidget* pWindow);

    bool Ring(const CReminder& reminder) override;
    bool RingMissed(int nCount) override;
    CNotificationBell& Notices() { return m_notices; }

private:
    const StringTable& m_strings;
    bool m_bUse24Hour = false;
    QPointer<QWidget> m_pWindow;
    CNotificationBell m_notices;
};
