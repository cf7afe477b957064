// The main window: one instance per executable; a second launch brings the first to the
// front and ends.
#include "app/CAgendaApp.h"
#include "app/CCommandLine.h"
#include "app/CMainFrame.h"
#include "app/CSingleInstance.h"
#include "app/CommandModes.h"

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

}  // namespace

int RunGuiMode(const CCommandLine& /*commandLine*/, int argc, char** argv)
{
    CAgendaApp app(argc, argv);
    CSingleInstance instance(QCoreApplication::applicationFilePath());
    if (!instance.Claim())
        return 0;
    if (!app.InitInstance())
        return kStartupFailureStatus;
    QObject::connect(&instance, &CSingleInstance::activateRequested, &app,
                     [&app]() { RaiseFrame(app.GetMainFrame()); });
    return app.exec();
}
