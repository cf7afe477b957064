// quillday: the command-line modes that only read and write the store run here with
// QtCore alone. The window and --screenshot are in the window module
// (quillday-window.so), the calendar-server modes in the sync module (quillday-sync.so);
// each is loaded only for its modes, so that --print-week and the others load no GUI or
// network library, font or platform plug-in.
#include "app/CCommandLine.h"
#include "app/ProgramMain.h"
#include "platform/ProgramFolder.h"
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdio>
#include <dlfcn.h>

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

int RunModule(const CCommandLine& commandLine, int argc, char** argv)
{
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
