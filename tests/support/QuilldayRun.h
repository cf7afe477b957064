#pragma once
// The quillday program ($QUILLDAY_BIN) run as a user runs it from a shell: in a home
// folder of the test's own, with the zone, clock and short-date pattern the test chooses.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct QuilldayRun {
    int nExitCode = -1;  // -1 when it did not end normally within 30 s
    QString strOut;
    QString strErr;
};

// Whether $QUILLDAY_BIN names the program (tests skip without it).
bool HaveQuilldayBinary();

// The caller's environment with the zone and clock set, and no display (the modes choose
// the offscreen platform themselves). A null pszShortDate leaves the locale's own pattern.
QProcessEnvironment QuilldayEnvironment(const char* pszZone, const char* pszNow, const char* pszShortDate);

// quillday with args, then --home strHome, --store strStore and the registry file
// strHome/registry.reg; input is what it reads on standard input. Its standard output goes
// to strOutFile when one is named (strOut stays empty).
QuilldayRun RunQuillday(QStringList args, const QString& strHome, const QString& strStore,
                        const QProcessEnvironment& env, const QByteArray& input = QByteArray(),
                        const QString& strOutFile = QString());
