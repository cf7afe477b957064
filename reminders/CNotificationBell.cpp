#include "reminders/CNotificationBell.h"

#include "reminders/ReminderText.h"
#include "resources/StringTable.h"
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kAppName = QStringLiteral("Quillday");
const QString kIcon = QStringLiteral("quillday");
const QString kDesktopEntry = QStringLiteral("quillday");
// The freedesktop sound theme's name for a reminder that fell due.
const QString kSoundName = QStringLiteral("alarm-clock-elapsed");
constexpr int kCallTimeoutMs = 3000;
// expire_timeout: the notice stays until the person answers it.
constexpr int kNeverExpires = 0;
constexpr uchar kNormalUrgency = 1;

// A click on the notice is the default action; servers that show no default action as a
// button show "open" as one.
const QString kDefaultKey = QStringLiteral("default");
const QString kOpenKey = QStringLiteral("open");
const QString kDismissKey = QStringLiteral("dismiss");
const QString kSnoozeKey = QStringLiteral("snooze-%1");

// The choice behind an action key; false for a key of no action of ours.
bool ChoiceOfKey(const QString& strKey, ReminderChoice* pChoice)
{
    if (strKey == kDefaultKey || strKey == kOpenKey) {
        pChoice->kind = ReminderChoice::Open;
        return true;
    }
    if (strKey == kDismissKey) {
        pChoice->kind = ReminderChoice::Dismiss;
        return true;
    }
    for (int nMinutes : kSnoozeMinutes) {
        if (strKey == kSnoozeKey.arg(nMinutes)) {
            pChoice->kind = ReminderChoice::Snooze;
            pChoice->nMinutes = nMinutes;
            return true;
        }
    }
    return false;
}

}  // namespace

CNotificationBell::CNotificationBell(const StringTable& strings, bool bUse24Hour, QObject* pParent)
    : QObject(pParent), m_strings(strings), m_bUse24Hour(bUse24Hour), m_bus(QDBusConnection::sessionBus())
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(OnActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(OnNotificationClosed(uint, uint)));
    m_pWatcher = new QDBusServiceWatcher(kService, m_bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(m_pWatcher, &QDBusServiceWatcher::serviceRegistered, this, &CNotificationBell::OnServiceRegistered);
}

CNotificationBell::~CNotificationBell() = default;

bool CNotificationBell::Capabilities(QStringList* pCaps)
{
    if (!m_bus.isConnected())
        return false;
    if (!m_bCapsKnown) {
        const QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                                 QStringLiteral("GetCapabilities"));
        const QDBusMessage reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return false;
        m_caps = reply.arguments().constFirst().toStringList();
        m_bCapsKnown = true;
    }
    *pCaps = m_caps;
    return true;
}

bool CNotificationBell::IsServiceAvailable()
{
    QStringList caps;
    return Capabilities(&caps);
}

void CNotificationBell::OnServiceRegistered()
{
    // Another service (or the same one anew) may support other things.
    m_bCapsKnown = false;
    m_shown.clear();
    emit ServiceAppeared();
}

QStringList CNotificationBell::Actions() const
{
    QStringList actions{kDefaultKey, OpenText(m_strings), kOpenKey, OpenText(m_strings)};
    for (int nMinutes : kSnoozeMinutes)
        actions << kSnoozeKey.arg(nMinutes) << SnoozeText(nMinutes, m_strings);
    actions << kDismissKey << DismissText(m_strings);
    return actions;
}

uint CNotificationBell::Notify(const QString& strSummary, const QString& strBody, const QStringList& actions)
{
    QStringList caps;
    if (!Capabilities(&caps))
        return 0;
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(kNormalUrgency));
    hints.insert(QStringLiteral("desktop-entry"), kDesktopEntry);
    if (caps.contains(QStringLiteral("sound")))
        hints.insert(QStringLiteral("sound-name"), kSoundName);
    const QString strShownBody = caps.contains(QStringLiteral("body-markup")) ? strBody.toHtmlEscaped() : strBody;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << kAppName << uint(0) << kIcon << strSummary << strShownBody
         << (caps.contains(QStringLiteral("actions")) ? actions : QStringList()) << hints << kNeverExpires;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().constFirst().toUInt();
}

bool CNotificationBell::Ring(const CReminder& reminder)
{
    const ReminderTexts texts = MakeReminderTexts(reminder, m_strings, m_bUse24Hour);
    const uint nId = Notify(texts.strTitle, texts.strBody, Actions());
    if (nId == 0)
        return false;
    m_shown.insert(nId, reminder);
    return true;
}

bool CNotificationBell::RingMissed(int nCount)
{
    return Notify(GetResourceString(m_strings, QStringLiteral("RC_REMINDER_TITLE")), MissedCountText(nCount, m_strings),
                  {}) != 0;
}

void CNotificationBell::OnActionInvoked(uint nId, const QString& strKey)
{
    const auto it = m_shown.constFind(nId);
    ReminderChoice choice;
    if (it == m_shown.constEnd() || !ChoiceOfKey(strKey, &choice))
        return;
    const CReminder reminder = it.value();
    m_shown.erase(it);
    QDBusMessage close = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CloseNotification"));
    close << nId;
    m_bus.send(close);
    Choose(reminder, choice);
}

void CNotificationBell::OnNotificationClosed(uint nId, uint)
{
    m_shown.remove(nId);
}
