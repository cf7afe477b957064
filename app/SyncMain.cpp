// The sync module: the modes that talk to calendar servers (Qt Network), loaded by
// quillday for them.
#include "app/CCommandLine.h"
#include "app/CommandModes.h"
#include "app/ProgramMain.h"

namespace {

int RunSyncModes(const CCommandLine& commandLine, int, char**)
{
    switch (commandLine.m_mode) {
    case QuilldayMode::AddAccount:
        return RunAddAccountMode(commandLine);
    case QuilldayMode::ListAccounts:
        return RunListAccountsMode();
    case QuilldayMode::RemoveAccount:
        return RunRemoveAccountMode(commandLine);
    default:
        return RunSyncMode();
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int QuilldayModuleMain(int argc, char** argv)
{
    return RunProgram(argc, argv, &RunSyncModes);
}
