// quillday: the command-line modes that only read and write the store run here with
// QtCore alone. The window and --screenshot are in the window module
// (quillday-window.so), the calendar-server modes in the sync module (quillday-sync.so);
// each is loaded only for its modes, so that --print-week and the others load no GUI or
// network library, font or platform plug-in. The reminder modes run as
// quillday-reminders, which this process becomes.
#include "app/CCommandLine.h"
#include "app/ProgramMain.h"
#include "platform/ProgramFolder.h"
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

constexpr int kNoModuleStatus = 1;
using ModuleMain = int (*)(int argc, char** argv);

const char* ModuleName(QuilldayMode mode)
{
    return (mode == QuilldayMode::Gui || mode == QuilldayMode::Screenshot) ? "quillday-window.so" : "quillday-sync.so";
}

// The module beside the executable (a build) or in the program's library folder
// (installed).
void* OpenModule(const char* pszName)
{
    const QString strFolder = QFileInfo(GetModuleFilePath()).absolutePath();
    const QString strName = QString::fromLatin1(pszName);
    for (const QString& strPath : {strFolder + QLatin1Char('/') + strName,
                                   strFolder + QStringLiteral("/" QUILLDAY_MODULE_DIR "/") + strName}) {
        if (void* pModule = dlopen(QFile::encodeName(strPath).constData(), RTLD_NOW | RTLD_LOCAL))
            return pModule;
    }
    return nullptr;
}

// --reminders and --next-reminders: this process becomes quillday-reminders beside it,
// the same modes linked with the few libraries they use, so that the process that sleeps
// through the session keeps little memory. Returns only when that cannot start.
int ExecRemindersProgram(char** argv)
{
    const QByteArray program = QFile::encodeName(QFileInfo(GetModuleFilePath()).absolutePath()
                                                 + QStringLiteral("/quillday-reminders"));
    execv(program.constData(), argv);
    std::fprintf(stderr, "quillday: cannot start %s: %s\n", program.constData(), std::strerror(errno));
    return kNoModuleStatus;
}

int RunModule(const CCommandLine& commandLine, int argc, char** argv)
{
    if (commandLine.m_mode == QuilldayMode::Reminders || commandLine.m_mode == QuilldayMode::NextReminders)
        return ExecRemindersProgram(argv);
    void* pModule = OpenModule(ModuleName(commandLine.m_mode));
    const auto fnMain = pModule != nullptr ? reinterpret_cast<ModuleMain>(dlsym(pModule, "QuilldayModuleMain")) : nullptr;
    if (fnMain == nullptr) {
        std::fprintf(stderr, "quillday: cannot load %s: %s\n", ModuleName(commandLine.m_mode), dlerror());
        return kNoModuleStatus;
    }
    return fnMain(argc, argv);
}

}  // namespace

int main(int argc, char** argv)
{
    return RunProgram(argc, argv, &RunModule);
}
