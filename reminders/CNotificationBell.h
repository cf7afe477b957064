#pragma once
// Rings reminders as desktop notifications through the freedesktop notification service
// on the session D-Bus (org.freedesktop.Notifications): the subject as summary, the time
// span and the place as body, the program's icon, and the actions open (the default
// action), snooze 5, 10 or 30 minutes and dismiss. A reminder stays until answered, with
// the service's reminder sound where it plays sounds (GetCapabilities says what it
// supports). Without a session bus or a service a ring fails and nothing is shown.
#include "reminders/IReminderBell.h"
#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QStringList>

class QDBusServiceWatcher;
class StringTable;

class CNotificationBell : public QObject, public IReminderBell {
    Q_OBJECT
public:
    CNotificationBell(const StringTable& strings, bool bUse24Hour, QObject* pParent = nullptr);
    ~CNotificationBell() override;

    bool Ring(const CReminder& reminder) override;
    bool RingMissed(int nCount) override;
    // Whether a notification service answers on the session bus now.
    bool IsServiceAvailable();
    // Notices shown by this bell that are still open.
    int OpenNotices() const { return int(m_shown.size()); }

signals:
    // A notification service took its name on the bus (it started, or started anew).
    void ServiceAppeared();

private slots:
    void OnActionInvoked(uint nId, const QString& strKey);
    void OnNotificationClosed(uint nId, uint nReason);
    void OnServiceRegistered();

private:
    // The service's capabilities, asked once per service; false when none answers.
    bool Capabilities(QStringList* pCaps);
    // Sends one notice; its id, or 0 when it could not be shown.
    uint Notify(const QString& strSummary, const QString& strBody, const QStringList& actions);
    QStringList Actions() const;

    const StringTable& m_strings;
    bool m_bUse24Hour = false;
    QDBusConnection m_bus;
    QStringList m_caps;
    bool m_bCapsKnown = false;
    QHash<uint, CReminder> m_shown;
    QDBusServiceWatcher* m_pWatcher = nullptr;
};
