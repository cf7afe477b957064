#include "app/CommandModes.h"

#include "app/CCommandLine.h"
#include "week/CWeekSources.h"
#include "calendar/AnniversaryFile.h"
#include "calendar/CAnniversaryLines.h"
#include "ical/CAnniversaryEvents.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "pim/IPOutlookApp.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

#include <cstdio>

namespace {

void PrintError(const QString& strText)
{
    std::fprintf(stderr, "quillday: %s\n", strText.toLocal8Bit().constData());
}

// The store named by --store (or the default), opened directly; for reading only when
// it cannot be written and bWrite is false.
bool OpenStore(IPOutlookApp* pApp, bool bWrite)
{
    const HRESULT hr = pApp->Logon();
    if (hr == S_PIM_READONLY && bWrite) {
        PrintError(QStringLiteral("cannot write the store %1: %2").arg(pApp->GetStorePath(), pApp->GetReadOnlyReason()));
        return false;
    }
    if (hr == S_PIM_READONLY)
        PrintError(QStringLiteral("the store %1 is open for reading only: %2").arg(pApp->GetStorePath(), pApp->GetReadOnlyReason()));
    if (SUCCEEDED(hr))
        return true;
    PrintError(QStringLiteral("cannot open the store %1: %2").arg(IPOutlookApp::DefaultStorePath(), pApp->GetLogonFailure()));
    return false;
}

// The path with its folder resolved through links, so that two spellings of one file
// compare equal (the file itself need not exist).
QString ResolvedPath(const QString& strPath)
{
    const QFileInfo info(strPath);
    const QString strCanonical = info.canonicalFilePath();
    if (!strCanonical.isEmpty())
        return strCanonical;
    const QString strFolder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return strFolder.isEmpty() ? info.absoluteFilePath() : strFolder + QLatin1Char('/') + info.fileName();
}

// Whether writing strTarget would replace the store file or one of SQLite's files beside it.
bool IsPartOfStore(const QString& strTarget, const QString& strStore)
{
    const QString strResolvedTarget = ResolvedPath(strTarget);
    const QString strResolvedStore = ResolvedPath(strStore);
    for (const char* pszSuffix : {"", "-wal", "-shm", "-journal"}) {
        if (strResolvedTarget == strResolvedStore + QLatin1String(pszSuffix))
            return true;
    }
    // The same file under another name (a hard link).
    struct stat target {}, store {};
    return ::stat(QFile::encodeName(strTarget).constData(), &target) == 0
        && ::stat(QFile::encodeName(strStore).constData(), &store) == 0 && target.st_dev == store.st_dev
        && target.st_ino == store.st_ino;
}

// Adds the imported special days to the person's file (made from the program folder's
// file first) and prints where each went; false when the file cannot be written.
bool StoreSpecialDays(const QVector<ICalSpecialDay>& days)
{
    const QString strPath = PersonalSpecialDaysPath();
    QString strError;
    CAnniversaryLines file;
    if (!CAnniversaryLines::StartFrom(ProgramSpecialDaysPath(), strPath, &strError) || !file.Load(strPath)) {
        PrintError(QStringLiteral("%1: no special day added: %2").arg(strPath, strError));
        return false;
    }
    const QStringList summary = CAnniversaryEvents::AddToFile(days, &file, strPath);
    if (!file.Save(strPath, &strError)) {
        PrintError(QStringLiteral("%1: no special day added: %2").arg(strPath, strError));
        return false;
    }
    for (const QString& strLine : summary)
        std::printf("%s\n", strLine.toLocal8Bit().constData());
    return true;
}

}  // namespace

int RunImportMode(const CCommandLine& commandLine)
{
    IPOutlookApp app;
    if (!OpenStore(&app, true))
        return 1;
    CICalImporter importer(app.GetStore());
    importer.KeepSpecialDays(commandLine.m_bAsSpecialDays);
    QString strError;
    if (!importer.ImportFile(commandLine.m_strFile, &strError)) {
        PrintError(QStringLiteral("%1: nothing imported: %2").arg(commandLine.m_strFile, strError));
        return 1;
    }
    const bool bDaysStored = importer.SpecialDays().isEmpty() || StoreSpecialDays(importer.SpecialDays());
    std::printf("Added %d appointments and %d tasks from %s.\n", importer.Appointments(), importer.Tasks(),
                commandLine.m_strFile.toLocal8Bit().constData());
    std::printf("%s\n", importer.CountsLine().toLocal8Bit().constData());
    if (importer.Skipped() == 0)
        std::printf("Skipped nothing.\n");
    for (const QString& strLine : importer.LeftOut())
        std::printf("%s\n", strLine.toLocal8Bit().constData());
    // Everything that could be imported is in; 1 tells that something was not.
    return importer.Skipped() == 0 && bDaysStored ? 0 : 1;
}

int RunExportMode(const CCommandLine& commandLine)
{
    IPOutlookApp app;
    if (!OpenStore(&app, false))
        return 1;
    if (IsPartOfStore(commandLine.m_strFile, app.GetStorePath())) {
        PrintError(QStringLiteral("%1: nothing exported: that is the store itself (%2)")
                       .arg(commandLine.m_strFile, app.GetStorePath()));
        return 1;
    }
    CICalExporter exporter(app.GetStore());
    SpecialDayList days;
    exporter.SetSpecialDays(LoadSpecialDays(&days) ? &days : nullptr, false);
    QString strError;
    if (!exporter.ExportFile(commandLine.m_strFile, &strError)) {
        PrintError(QStringLiteral("%1: %2").arg(commandLine.m_strFile, strError));
        return 1;
    }
    std::printf("Exported %d appointments, %d tasks and %d special days to %s.\n", exporter.Appointments(),
                exporter.Tasks(), exporter.SpecialDays(), commandLine.m_strFile.toLocal8Bit().constData());
    for (const QString& strLine : exporter.Damaged())
        PrintError(QStringLiteral("%1: %2").arg(commandLine.m_strFile, strLine));
    return 0;
}

int RunExportSpecialDaysMode(const CCommandLine& commandLine)
{
    SpecialDayList days;
    if (!LoadSpecialDays(&days)) {
        PrintError(QStringLiteral("%1: nothing exported: %2").arg(commandLine.m_strFile, QLatin1String(kSpecialDaysFailureText)));
        return 1;
    }
    CICalExporter exporter(nullptr);
    exporter.SetSpecialDays(&days, true);
    QString strError;
    if (!exporter.ExportFile(commandLine.m_strFile, &strError)) {
        PrintError(QStringLiteral("%1: %2").arg(commandLine.m_strFile, strError));
        return 1;
    }
    std::printf("Exported %d special days to %s.\n", exporter.SpecialDays(), commandLine.m_strFile.toLocal8Bit().constData());
    return 0;
}
