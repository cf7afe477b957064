#include "reminders/ReminderSettings.h"

#include "platform/CRegistry.h"
#include "week/AgendaSettings.h"

int ReadTaskReminderMinute()
{
    constexpr DWORD kHoursPerDay = 24;
    const DWORD dwHour = CRegistry().ReadDWORD(HKEY_LOCAL_MACHINE, QString::fromLatin1(QUILLDAY_REGISTRY_SUBKEY),
                                               QStringLiteral("TaskReminderHour"), kDefaultTaskReminderHour);
    return int(dwHour < kHoursPerDay ? dwHour : kDefaultTaskReminderHour) * 60;
}
