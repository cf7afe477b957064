// The reminder modes: --reminders rings reminders without the window until the session
// ends; --next-reminders prints what will ring next.
#include "app/CommandModes.h"

#include "app/CCommandLine.h"
#include "pim/IPOutlookApp.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include "platform/Clock.h"
#include "reminders/CNotificationBell.h"
#include "reminders/CReminderRunner.h"
#include "reminders/CReminderSchedule.h"
#include "reminders/ReminderSettings.h"
#include "resources/StringTable.h"
#include "resources/UiLanguage.h"
#include "week/AgendaSettings.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDateTime>
#include <QProcess>

#include <cstdio>

namespace {

void Print(FILE* pOut, const QString& strText)
{
    std::fprintf(pOut, "%s\n", strText.toLocal8Bit().constData());
    std::fflush(pOut);
}

bool OpenStore(IPOutlookApp* pApp)
{
    if (SUCCEEDED(pApp->Logon()))
        return true;
    Print(stderr, QStringLiteral("quillday: cannot open the store %1: %2")
                      .arg(IPOutlookApp::DefaultStorePath(), pApp->GetLogonFailure()));
    return false;
}

QString WallText(int64_t nWall, bool bWithTime)
{
    const WallFields f = FieldsOfWall(nWall);
    const QString strDate = QStringLiteral("%1-%2-%3")
                                .arg(f.nYear, 4, 10, QLatin1Char('0'))
                                .arg(f.nMonth, 2, 10, QLatin1Char('0'))
                                .arg(f.nDay, 2, 10, QLatin1Char('0'));
    if (!bWithTime)
        return strDate;
    return strDate + QStringLiteral(" %1:%2").arg(f.nHour, 2, 10, QLatin1Char('0')).arg(f.nMinute, 2, 10, QLatin1Char('0'));
}

QString LocalText(int64_t nUtc)
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(nUtc);
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// "when<TAB>kind<TAB>start (a task: its due day)<TAB>subject".
QString ReminderLine(const CReminder& r)
{
    const bool bTask = r.nItemType == olTaskItem;
    QString strKind = bTask ? QStringLiteral("task") : QStringLiteral("appointment");
    if (r.bSnoozed)
        strKind += QStringLiteral(" (snoozed)");
    return QStringLiteral("%1\t%2\t%3\t%4")
        .arg(LocalText(r.nRingAt), strKind, WallText(r.nStart, !bTask && !r.bAllDay), r.strSubject);
}

// The window, asked to open the reminder's item: a running window is asked by the
// single-instance link, otherwise the window starts.
void OpenInWindow(const CReminder& r, const CCommandLine& cmd)
{
    const QString strAt = WallText(r.nStart, true).replace(u' ', u'T');
    QStringList args{QStringLiteral("--open-item"), QStringLiteral("%1@%2").arg(r.key.nOid).arg(strAt)};
    const struct {
        const char* pszOption;
        const QString& strValue;
    } options[] = {{"--home", cmd.m_strHome},
                   {"--store", cmd.m_strStore},
                   {"--registry", cmd.m_strRegistry},
                   {"--language", cmd.m_strLanguage}};
    for (const auto& p : options) {
        if (!p.strValue.isEmpty())
            args << QLatin1String(p.pszOption) << p.strValue;
    }
    // quillday itself: this process may be quillday-reminders, which lies beside it.
    QProcess::startDetached(QCoreApplication::applicationDirPath() + QStringLiteral("/quillday"), args);
}

}  // namespace

int RunNextRemindersMode(const CCommandLine& cmd)
{
    IPOutlookApp outlook;
    if (!OpenStore(&outlook))
        return 1;
    CReminderSchedule schedule(outlook.GetStore(), ReadTaskReminderMinute());
    QVector<CReminder> next;
    if (!schedule.Next(GetUtcTime(), cmd.m_nReminderCount, &next)) {
        Print(stderr, QStringLiteral("quillday: ") + outlook.GetReadFailure());
        return 1;
    }
    for (const CReminder& r : std::as_const(next))
        Print(stdout, ReminderLine(r));
    return 0;
}

int RunRemindersMode(const CCommandLine& cmd, int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    AgendaSettings settings;
    settings.Load();
    ApplyUiLanguage(LanguageCodeOf(settings.Language));
    StringTable strings;
    if (!LoadResourceStrings(&strings)) {
        Print(stderr, QStringLiteral("quillday: the strings file orlith.inf cannot be read"));
        return 1;
    }
    IPOutlookApp outlook;
    if (!OpenStore(&outlook))
        return 1;
    CNotificationBell bell(strings, settings.Use24Hour != FALSE);
    CReminderRunner runner(outlook.GetStore(), bell, ReadTaskReminderMinute(), true);
    if (!bell.IsServiceAvailable())
        Print(stderr, QStringLiteral("quillday: no desktop notification service on the session bus; "
                                     "reminders ring once one starts"));
    QObject::connect(&bell, &CNotificationBell::ServiceAppeared, &runner, &CReminderRunner::Reschedule);
    QObject::connect(&runner, &CReminderRunner::OpenRequested, &app,
                     [&cmd](const CReminder& r) { OpenInWindow(r, cmd); });
    // The session ends with its bus.
    QDBusConnection::sessionBus().connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                                          QStringLiteral("org.freedesktop.DBus.Local"),
                                          QStringLiteral("Disconnected"), &app, SLOT(quit()));
    runner.Start();
    return app.exec();
}
