#include "app/CommandModes.h"

#include "app/CCommandLine.h"
#include "pim/CICalExporter.h"
#include "pim/CICalImporter.h"
#include "pim/IPOutlookApp.h"

#include <cstdio>

namespace {

void PrintError(const QString& strText)
{
    std::fprintf(stderr, "quillday: %s\n", strText.toLocal8Bit().constData());
}

// The store named by --store (or the default), opened directly.
bool OpenStore(IPOutlookApp* pApp)
{
    if (SUCCEEDED(pApp->Logon()))
        return true;
    PrintError(QStringLiteral("cannot open the store %1 (not a store of this program, or not writable)")
                   .arg(IPOutlookApp::DefaultStorePath()));
    return false;
}

}  // namespace

int RunImportMode(const CCommandLine& commandLine)
{
    IPOutlookApp app;
    if (!OpenStore(&app))
        return 1;
    CICalImporter importer(app.GetStore());
    QString strError;
    if (!importer.ImportFile(commandLine.m_strFile, &strError)) {
        PrintError(QStringLiteral("%1: nothing imported: %2").arg(commandLine.m_strFile, strError));
        return 1;
    }
    std::printf("Added %d appointments and %d tasks from %s.\n", importer.Appointments(), importer.Tasks(),
                commandLine.m_strFile.toLocal8Bit().constData());
    const QStringList skipped = importer.SkippedSummary();
    if (skipped.isEmpty())
        std::printf("Skipped nothing.\n");
    for (const QString& strLine : skipped)
        std::printf("Skipped %s\n", strLine.toLocal8Bit().constData());
    return 0;
}

int RunExportMode(const CCommandLine& commandLine)
{
    IPOutlookApp app;
    if (!OpenStore(&app))
        return 1;
    CICalExporter exporter(app.GetStore());
    QString strError;
    if (!exporter.ExportFile(commandLine.m_strFile, &strError)) {
        PrintError(QStringLiteral("%1: %2").arg(commandLine.m_strFile, strError));
        return 1;
    }
    std::printf("Exported %d appointments and %d tasks to %s.\n", exporter.Appointments(), exporter.Tasks(),
                commandLine.m_strFile.toLocal8Bit().constData());
    return 0;
}
