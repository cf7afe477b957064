// --version: the product name and version, read from the executable's own version block
// as the about sheet reads them.
#include "app/CommandModes.h"
#include "platform/ProgramFolder.h"
#include "resources/VersionString.h"

#include <cstdio>
#include <cstdlib>

int RunVersionMode()
{
    const QString strPath = GetModuleFilePath();
    QString strName;
    QString strVersion;
    if (!GetVersionString(strPath, QStringLiteral("ProductName"), &strName)
        || !GetVersionString(strPath, QStringLiteral("ProductVersion"), &strVersion) || strVersion.isEmpty()) {
        std::fprintf(stderr, "quillday: cannot read the version of %s\n", strPath.toLocal8Bit().constData());
        return EXIT_FAILURE;
    }
    std::printf("%s %s\n", strName.toLocal8Bit().constData(), strVersion.toLocal8Bit().constData());
    return EXIT_SUCCESS;
}
