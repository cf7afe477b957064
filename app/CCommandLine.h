#pragma once
// The program's command line, parsed into a plain record. Parse never touches the file
// system or the environment; main() applies the paths and dispatches on m_mode.
#include <QString>
#include <QStringList>
#include <cstdint>

enum class QuilldayMode {
    Gui,           // no mode option: the main window
    PrintWeek,     // --print-week [YYYY-MM-DD] [--json]
    Screenshot,    // --screenshot FILE.png [--date YYYY-MM-DD] [--size WxH]
    Import,        // --import FILE.ics
    Export,        // --export FILE.ics
    ExportSpecialDays,  // --export-special-days FILE.ics
    LunarToSolar,  // --lunar-to-solar YYYY-MM-DD[L]... | -
    AddAccount,    // --add-account URL [--user NAME] [--password-file FILE] [--calendar HREF] [--fingerprint SHA256]
    ListAccounts,  // --list-accounts
    RemoveAccount, // --remove-account URL
    Sync,          // --sync
    Reminders,     // --reminders
    NextReminders, // --next-reminders [N]
    Help,          // --help
    Version,       // --version
};

class CCommandLine {
public:
    // Exit status for a command line that cannot be used.
    static constexpr int kUsageExitStatus = 2;

    QuilldayMode m_mode = QuilldayMode::Gui;
    QString m_strDate;        // --print-week or --date: YYYY-MM-DD; empty: today
    bool m_bJson = false;     // --json with --print-week
    QString m_strFile;        // --screenshot, --import, --export or --export-special-days file
    bool m_bAsSpecialDays = false;  // --as-special-days with --import: all-day yearly and
                                    // single all-day events become special days
    int m_nWidth = 0;         // --size; 0: the window's own size
    int m_nHeight = 0;
    QStringList m_lunarDates;       // --lunar-to-solar: YYYY-MM-DD, L appended for a leap month
                                    // (as given: the mode answers a malformed one itself)
    bool m_bLunarFromStdin = false;  // --lunar-to-solar -: one date a line on standard input
    QString m_strOpenFile;    // an iCalendar file to import after asking (main window only)
    QString m_strHome;        // --home
    QString m_strStore;       // --store
    QString m_strRegistry;    // --registry
    int m_nScale = 0;         // --scale; 0: not given
    QString m_strLanguage;    // --language
    QString m_strAccount;     // --add-account or --remove-account URL
    QString m_strUser;        // --user with --add-account
    QString m_strPasswordFile;  // --password-file with --add-account
    QString m_strCalendar;    // --calendar with --add-account
    QString m_strFingerprint;  // --fingerprint with --add-account: a server certificate accepted
    int m_nReminderCount = 10;  // --next-reminders N
    QString m_strOpenItem;    // --open-item OID[@YYYY-MM-DDTHH:MM] (main window only)
    QString m_strError;       // why Parse failed

    // Parses the arguments after the program name. False with m_strError set when the
    // line cannot be used; a --help anywhere gives QuilldayMode::Help, else a --version
    // anywhere QuilldayMode::Version.
    bool Parse(const QStringList& args);
    bool Parse(int argc, char** argv);

    // The text of --open-item, "OID" or "OID@YYYY-MM-DDTHH:MM", split; false for another text.
    static bool SplitOpenItem(const QString& strItem, int32_t* pnOid, QString* pstrAt);

    // The usage text in the language given (Korean for "ko", else English).
    static QString HelpText(const QString& strLanguage = QString());

private:
    bool ParseOption(const QString& name, const QString* pInlineValue, const QStringList& args, int* pIndex);
    static bool TakeOptionalValue(const QString* pInlineValue, const QStringList& args, int* pIndex, QString* pValue);
    bool ParsePrintWeek(const QString* pInlineValue, const QStringList& args, int* pIndex);
    bool ParseNextReminders(const QString* pInlineValue, const QStringList& args, int* pIndex);
    bool ParseOpenItem(const QString& value);
    bool ApplyValue(const QString& name, const QString& value);
    bool TakeValue(const QString& name, const QString* pInlineValue, const QStringList& args, int* pIndex,
                   QString* pValue);
    bool SetMode(QuilldayMode mode, const QString& name);
    bool CheckCombinations();
    bool Fail(const QString& text);

    QStringList m_seen;  // options already given, to refuse repeats
};
