// The main window: one instance per executable; a second launch brings the first to the
// front and ends.
#include "resources/UiLanguage.h"
#include "week/AgendaSettings.h"
#include "app/CAgendaApp.h"
#include "app/CCommandLine.h"
#include "app/CMainFrame.h"
#include "app/CMainView.h"
#include "app/CSingleInstance.h"
#include "app/CWindowBell.h"
#include "app/CommandModes.h"
#include "app/ImportOnOpen.h"
#include "pim/IPOutlookApp.h"
#include "pim/WallTime.h"
#include "reminders/CReminderRunner.h"
#include "reminders/ReminderSettings.h"
#include "resources/StringTable.h"
#include <QDateTime>
#include <QTimer>

namespace {

constexpr int kStartupFailureStatus = 1;

void RaiseFrame(CMainFrame* pFrame)
{
    if (pFrame == nullptr)
        return;
    pFrame->showNormal();
    pFrame->raise();
    pFrame->activateWindow();
}

// A file opened while the program already runs: asked and imported here, into the same
// store; the running window shows the new items through the store's change notifications.
void ImportBesideRunningInstance(const QString& strPath)
{
    AgendaSettings settings;
    settings.Load();
    ApplyUiLanguage(LanguageCodeOf(settings.Language));
    StringTable strings;
    LoadResourceStrings(&strings);
    IPOutlookApp outlook;
    AskAndImportFile(strPath, strings, SUCCEEDED(outlook.Logon()) ? &outlook : nullptr);
}

// Opens the item of an --open-item text ("OID" or "OID@YYYY-MM-DDTHH:MM") in the window.
void OpenItem(CMainFrame* pFrame, const QString& strItem)
{
    int32_t nOid = 0;
    QString strAt;
    if (!CCommandLine::SplitOpenItem(strItem, &nOid, &strAt))
        return;
    DATE dtAt = 0.0;
    if (!strAt.isEmpty()) {
        const QDateTime at = QDateTime::fromString(strAt, QStringLiteral("yyyy-MM-dd'T'HH:mm"));
        dtAt = WallToDate(WallFromFields(at.date().year(), at.date().month(), at.date().day(), at.time().hour(),
                                         at.time().minute()));
    }
    RaiseFrame(pFrame);
    pFrame->GetView()->OpenItem(nOid, dtAt);
}

}  // namespace

int RunGuiMode(const CCommandLine& commandLine, int argc, char** argv)
{
    CAgendaApp app(argc, argv);
    CSingleInstance instance(QCoreApplication::applicationFilePath());
    if (!instance.Claim(commandLine.m_strOpenItem)) {
        if (!commandLine.m_strOpenFile.isEmpty())
            ImportBesideRunningInstance(commandLine.m_strOpenFile);
        return 0;
    }
    if (!app.InitInstance())
        return kStartupFailureStatus;
    CMainFrame* pFrame = app.GetMainFrame();
    QObject::connect(&instance, &CSingleInstance::activateRequested, &app, [pFrame]() { RaiseFrame(pFrame); });
    QObject::connect(&instance, &CSingleInstance::openRequested, &app,
                     [pFrame](const QString& strItem) { OpenItem(pFrame, strItem); });
    // Reminders ring from the window while it runs, unless the background process rings
    // them; the window takes over when that one ends.
    CWindowBell bell(pFrame->GetStrings(), pFrame->GetSettings().Use24Hour != FALSE, pFrame);
    CReminderRunner runner(pFrame->GetOutlookApp()->GetStore(), bell, ReadTaskReminderMinute(), false);
    QObject::connect(pFrame, &CMainFrame::StoreChanged, &runner, &CReminderRunner::Reschedule);
    QObject::connect(&bell.Notices(), &CNotificationBell::ServiceAppeared, &runner, &CReminderRunner::Reschedule);
    QObject::connect(&runner, &CReminderRunner::OpenRequested, &app, [pFrame](const CReminder& r) {
        RaiseFrame(pFrame);
        pFrame->GetView()->OpenItem(r.key.nOid, WallToDate(r.nStart));
    });
    runner.Start();
    if (!commandLine.m_strOpenItem.isEmpty()) {
        const QString strItem = commandLine.m_strOpenItem;
        QTimer::singleShot(0, &app, [pFrame, strItem]() { OpenItem(pFrame, strItem); });
    }
    // The calendar servers are asked once the window shows.
    QTimer::singleShot(0, &app, [pFrame]() { pFrame->GetView()->GetSync().Start(); });
    if (!commandLine.m_strOpenFile.isEmpty()) {
        // Asked once the window is up, so the question stands over the week.
        const QString strPath = commandLine.m_strOpenFile;
        QTimer::singleShot(0, &app, [pFrame, strPath]() {
            AskAndImportFile(strPath, pFrame->GetStrings(), pFrame->GetOutlookApp());
            pFrame->GetView()->GetSync().SyncSoon();
        });
    }
    return app.exec();
}
