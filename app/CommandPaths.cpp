#include "app/CommandPaths.h"

#include "app/CCommandLine.h"
#include "platform/ProgramFolder.h"
#include "platform/RegistryFile.h"
#include "platform/StorePath.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int UsageError(const QString& text)
{
    std::fprintf(stderr, "quillday: %s\nTry 'quillday --help' for the options.\n", text.toLocal8Bit().constData());
    return CCommandLine::kUsageExitStatus;
}

namespace {

bool UsesStore(QuilldayMode mode)
{
    return mode != QuilldayMode::LunarToSolar && mode != QuilldayMode::Help && mode != QuilldayMode::ExportSpecialDays;
}

bool UsesRegistry(QuilldayMode mode)
{
    return mode == QuilldayMode::Gui || mode == QuilldayMode::PrintWeek || mode == QuilldayMode::Screenshot
           || mode == QuilldayMode::AddAccount || mode == QuilldayMode::ListAccounts
           || mode == QuilldayMode::RemoveAccount || mode == QuilldayMode::Sync || mode == QuilldayMode::Reminders
           || mode == QuilldayMode::NextReminders;
}

// False with a message when an explicit file of a mode that only reads lies in a folder
// that does not exist.
bool CheckFolderOf(const char* pszOption, const QString& strFile, QuilldayMode mode)
{
    if (strFile.isEmpty() || !OnlyReads(mode) || QFileInfo(QFileInfo(strFile).absolutePath()).isDir())
        return true;
    UsageError(QStringLiteral("%1: the folder of '%2' does not exist").arg(QLatin1String(pszOption), strFile));
    return false;
}

// False with a message when a file the mode needs has no place: no option and no HOME.
bool CheckDefaultPath(const char* pszOption, const QString& strPath, const char* pszVariable)
{
    if (!strPath.isEmpty())
        return true;
    UsageError(QStringLiteral("HOME is not set: give %1 FILE, or set HOME or %2")
                   .arg(QLatin1String(pszOption), QLatin1String(pszVariable)));
    return false;
}

}  // namespace

bool OnlyReads(QuilldayMode mode)
{
    return mode == QuilldayMode::PrintWeek || mode == QuilldayMode::Screenshot || mode == QuilldayMode::Export
           || mode == QuilldayMode::ExportSpecialDays || mode == QuilldayMode::NextReminders;
}

bool OpenForReading(QuilldayMode mode)
{
    SetRegistryReadOnly(true);
    const QString strStore = GetStorePath();
    if (!UsesStore(mode) || QFileInfo::exists(strStore))
        return true;
    std::fprintf(stderr, "quillday: the store %s does not exist\n", QFile::encodeName(strStore).constData());
    return false;
}

// False with a message when --home does not name a folder, or a file the mode needs has
// no usable place.
bool ApplyPaths(const CCommandLine& cmd)
{
    if (!cmd.m_strHome.isEmpty()) {
        if (!QFileInfo(cmd.m_strHome).isDir()) {
            UsageError(QStringLiteral("--home: '%1' is not a folder").arg(cmd.m_strHome));
            return false;
        }
        SetProgramFolder(cmd.m_strHome);
    }
    if (!CheckFolderOf("--store", cmd.m_strStore, cmd.m_mode)
        || !CheckFolderOf("--registry", UsesRegistry(cmd.m_mode) ? cmd.m_strRegistry : QString(), cmd.m_mode))
        return false;
    if (!cmd.m_strStore.isEmpty())
        SetStorePath(cmd.m_strStore);
    if (!cmd.m_strRegistry.isEmpty())
        SetRegistryPath(cmd.m_strRegistry);
    if (UsesStore(cmd.m_mode) && !CheckDefaultPath("--store", GetStorePath(), "XDG_DATA_HOME"))
        return false;
    if (UsesRegistry(cmd.m_mode) && !CheckDefaultPath("--registry", GetRegistryPath(), "XDG_CONFIG_HOME"))
        return false;
    if (cmd.m_nScale > 0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(cmd.m_nScale));
    return true;
}
