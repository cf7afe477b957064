// The main window: one instance per executable; a second launch brings the first to the
// front and ends.
#include "resources/UiLanguage.h"
#include "week/AgendaSettings.h"
#include "app/CAgendaApp.h"
#include "app/CCommandLine.h"
#include "app/CMainFrame.h"
#include "app/CSingleInstance.h"
#include "app/CommandModes.h"
#include "app/CMainView.h"
#include "app/ImportOnOpen.h"
#include "pim/IPOutlookApp.h"
#include "resources/StringTable.h"
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

}  // namespace

int RunGuiMode(const CCommandLine& commandLine, int argc, char** argv)
{
    CAgendaApp app(argc, argv);
    CSingleInstance instance(QCoreApplication::applicationFilePath());
    if (!instance.Claim()) {
        if (!commandLine.m_strOpenFile.isEmpty())
            ImportBesideRunningInstance(commandLine.m_strOpenFile);
        return 0;
    }
    if (!app.InitInstance())
        return kStartupFailureStatus;
    QObject::connect(&instance, &CSingleInstance::activateRequested, &app,
                     [&app]() { RaiseFrame(app.GetMainFrame()); });
    // The calendar servers are asked once the window shows.
    QTimer::singleShot(0, &app, [&app]() { app.GetMainFrame()->GetView()->GetSync().Start(); });
    if (!commandLine.m_strOpenFile.isEmpty()) {
        // Asked once the window is up, so the question stands over the week.
        CMainFrame* pFrame = app.GetMainFrame();
        const QString strPath = commandLine.m_strOpenFile;
        QTimer::singleShot(0, &app, [pFrame, strPath]() {
            AskAndImportFile(strPath, pFrame->GetStrings(), pFrame->GetOutlookApp());
            pFrame->GetView()->GetSync().SyncSoon();
        });
    }
    return app.exec();
}
