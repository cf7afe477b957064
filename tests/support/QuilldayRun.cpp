#include "tests/support/QuilldayRun.h"

#include <QDir>
#include <QProcess>

bool HaveQuilldayBinary()
{
    return !qEnvironmentVariableIsEmpty("QUILLDAY_BIN");
}

QProcessEnvironment QuilldayEnvironment(const char* pszZone, const char* pszNow, const char* pszShortDate)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TZ", pszZone);
    env.insert("QUILLDAY_NOW", pszNow);
    if (pszShortDate)
        env.insert("QUILLDAY_SHORTDATE", pszShortDate);
    else
        env.remove("QUILLDAY_SHORTDATE");
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    return env;
}

QuilldayRun RunQuillday(QStringList args, const QString& strHome, const QString& strStore,
                        const QProcessEnvironment& env, const QByteArray& input, const QString& strOutFile)
{
    args << "--home" << strHome << "--store" << strStore << "--registry" << QDir(strHome).filePath("registry.reg");
    QProcess process;
    process.setProcessEnvironment(env);
    if (!strOutFile.isEmpty())
        process.setStandardOutputFile(strOutFile);
    process.start(qEnvironmentVariable("QUILLDAY_BIN"), args);
    process.write(input);
    process.closeWriteChannel();
    QuilldayRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.strOut = QString::fromUtf8(process.readAllStandardOutput());
    run.strErr = QString::fromUtf8(process.readAllStandardError());
    run.nExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}
