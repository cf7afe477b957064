#include "app/CWindowBell.h"

#include "app/CReminderBox.h"
#include "reminders/ReminderText.h"
#include "resources/StringTable.h"

CWindowBell::CWindowBell(const StringTable& strings, bool bUse24Hour, QWidget* pWindow)
    : m_strings(strings), m_bUse24Hour(bUse24Hour), m_pWindow(pWindow), m_notices(strings, bUse24Hour)
{
    m_notices.SetChoiceHandler([this](const CReminder& r, const ReminderChoice& c) { Choose(r, c); });
}

bool CWindowBell::Ring(const CReminder& reminder)
{
    if (m_notices.Ring(reminder))
        return true;
    const ReminderTexts texts = MakeReminderTexts(reminder, m_strings, m_bUse24Hour);
    auto* pBox = new CReminderBox(texts.strTitle, texts.strBody, true, m_strings,
                                  [this, reminder](const ReminderChoice& c) { Choose(reminder, c); }, m_pWindow);
    pBox->show();
    return true;
}

bool CWindowBell::RingMissed(int nCount)
{
    if (m_notices.RingMissed(nCount))
        return true;
    auto* pBox = new CReminderBox(GetResourceString(m_strings, QStringLiteral("RC_REMINDER_TITLE")),
                                  MissedCountText(nCount, m_strings), false, m_strings, nullptr, m_pWindow);
    pBox->show();
    return true;
}
