#include "app/CCommandLine.h"
#include "platform/IsoDate.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

namespace {

constexpr int kMaxScale = 8;
constexpr int kMaxReminderCount = 1000;
// As large as a screen shows; a larger picture only costs memory (8192 x 8192 is 256 MB).
constexpr int kMaxImageSide = 8192;

bool IsOption(const QString& arg) { return arg.startsWith(QLatin1String("--")); }

bool IsIsoDate(const QString& text)
{
    return ParseIsoDate(text).has_value();
}

// "WxH" with both sides positive.
bool ParseSize(const QString& text, int* pnWidth, int* pnHeight)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    *pnWidth = match.captured(1).toInt();
    *pnHeight = match.captured(2).toInt();
    return *pnWidth > 0 && *pnHeight > 0 && *pnWidth <= kMaxImageSide && *pnHeight <= kMaxImageSide;
}

}  // namespace

bool CCommandLine::Parse(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return Parse(args);
}

bool CCommandLine::Parse(const QStringList& args)
{
    *this = CCommandLine();
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        // The usage text speaks the language asked for, whatever else the line holds.
        for (int i = 0; i < args.size(); ++i) {
            if (args.at(i).startsWith(QLatin1String("--language=")))
                m_strLanguage = args.at(i).section(QLatin1Char('='), 1);
            else if (args.at(i) == QLatin1String("--language") && i + 1 < args.size())
                m_strLanguage = args.at(i + 1);
        }
        m_mode = QuilldayMode::Help;
        return true;
    }
    if (args.contains(QLatin1String("--version"))) {
        m_mode = QuilldayMode::Version;
        return true;
    }
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (!IsOption(arg)) {
            // One file to open, as a file manager passes it.
            if (!m_strOpenFile.isEmpty())
                return Fail(QStringLiteral("unexpected argument '%1'").arg(arg));
            m_strOpenFile = arg;
            continue;
        }
        const int equals = arg.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? arg : arg.left(equals);
        const QString inlineValue = equals < 0 ? QString() : arg.mid(equals + 1);
        if (m_seen.contains(name))
            return Fail(QStringLiteral("%1 given more than once").arg(name));
        m_seen << name;
        if (!ParseOption(name, equals < 0 ? nullptr : &inlineValue, args, &i))
            return false;
    }
    return CheckCombinations();
}

bool CCommandLine::ParseOption(const QString& name, const QString* pInlineValue, const QStringList& args,
                               int* pIndex)
{
    if (name == QLatin1String("--print-week"))
        return ParsePrintWeek(pInlineValue, args, pIndex);
    if (name == QLatin1String("--json")) {
        m_bJson = true;
        return !pInlineValue || Fail(QStringLiteral("--json takes no value"));
    }
    if (name == QLatin1String("--lunar-to-solar")) {
        if (pInlineValue)
            return Fail(QStringLiteral("--lunar-to-solar: give the dates as separate arguments"));
        while (*pIndex + 1 < args.size() && !IsOption(args.at(*pIndex + 1)))
            m_lunarDates << args.at(++*pIndex);
        return SetMode(QuilldayMode::LunarToSolar, name);
    }
    if (name == QLatin1String("--next-reminders"))
        return ParseNextReminders(pInlineValue, args, pIndex);
    if (name == QLatin1String("--reminders")) {
        if (pInlineValue)
            return Fail(QStringLiteral("--reminders takes no value"));
        return SetMode(QuilldayMode::Reminders, name);
    }
    if (name == QLatin1String("--as-special-days")) {
        if (pInlineValue)
            return Fail(QStringLiteral("--as-special-days takes no value"));
        m_bAsSpecialDays = true;
        return true;
    }
    if (name == QLatin1String("--list-accounts") || name == QLatin1String("--sync")) {
        if (pInlineValue)
            return Fail(QStringLiteral("%1 takes no value").arg(name));
        return SetMode(name == QLatin1String("--sync") ? QuilldayMode::Sync : QuilldayMode::ListAccounts, name);
    }
    const QStringList valueOptions{QStringLiteral("--screenshot"), QStringLiteral("--import"),
                                   QStringLiteral("--add-account"), QStringLiteral("--remove-account"),
                                   QStringLiteral("--user"), QStringLiteral("--password-file"),
                                   QStringLiteral("--calendar"),   QStringLiteral("--fingerprint"),
                                   QStringLiteral("--export"),     QStringLiteral("--date"),
                                   QStringLiteral("--export-special-days"),
                                   QStringLiteral("--size"),       QStringLiteral("--home"),
                                   QStringLiteral("--store"),      QStringLiteral("--registry"),
                                   QStringLiteral("--scale"),      QStringLiteral("--language"),
                                   QStringLiteral("--open-item")};
    if (!valueOptions.contains(name))
        return Fail(QStringLiteral("unknown option '%1'").arg(name));
    QString value;
    return TakeValue(name, pInlineValue, args, pIndex, &value) && ApplyValue(name, value);
}

// An optional value is taken when given inline or when the next word is no option; true
// when one was given (an inline one may be empty).
bool CCommandLine::TakeOptionalValue(const QString* pInlineValue, const QStringList& args, int* pIndex,
                                     QString* pValue)
{
    if (pInlineValue)
        *pValue = *pInlineValue;
    else if (*pIndex + 1 < args.size() && !args.at(*pIndex + 1).startsWith(QLatin1Char('-')))
        *pValue = args.at(++*pIndex);
    return pInlineValue || !pValue->isEmpty();
}

bool CCommandLine::ParsePrintWeek(const QString* pInlineValue, const QStringList& args, int* pIndex)
{
    // The date is optional.
    QString value;
    if (TakeOptionalValue(pInlineValue, args, pIndex, &value) && !IsIsoDate(value))
        return Fail(QStringLiteral("--print-week: '%1' is not a date of the form YYYY-MM-DD").arg(value));
    m_strDate = value;
    return SetMode(QuilldayMode::PrintWeek, QStringLiteral("--print-week"));
}

bool CCommandLine::ParseNextReminders(const QString* pInlineValue, const QStringList& args, int* pIndex)
{
    // The count is optional.
    QString value;
    if (TakeOptionalValue(pInlineValue, args, pIndex, &value)) {
        bool bOk = false;
        m_nReminderCount = value.toInt(&bOk);
        if (!bOk || m_nReminderCount < 1 || m_nReminderCount > kMaxReminderCount)
            return Fail(QStringLiteral("--next-reminders: '%1' is not a whole number from 1 to %2")
                            .arg(value)
                            .arg(kMaxReminderCount));
    }
    return SetMode(QuilldayMode::NextReminders, QStringLiteral("--next-reminders"));
}

bool CCommandLine::SplitOpenItem(const QString& strItem, int32_t* pnOid, QString* pstrAt)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,9})(?:@(\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}))?$"));
    const QRegularExpressionMatch match = form.match(strItem);
    *pnOid = match.hasMatch() ? match.captured(1).toInt() : 0;
    *pstrAt = match.captured(2);
    const bool bTimeOk = pstrAt->isEmpty()
                         || QDateTime::fromString(*pstrAt, QStringLiteral("yyyy-MM-dd'T'HH:mm")).isValid();
    return *pnOid > 0 && bTimeOk;
}

bool CCommandLine::ParseOpenItem(const QString& value)
{
    int32_t nOid = 0;
    QString strAt;
    m_strOpenItem = value;
    return SplitOpenItem(value, &nOid, &strAt)
           || Fail(QStringLiteral("--open-item: '%1' is not of the form OID or OID@YYYY-MM-DDTHH:MM").arg(value));
}

bool CCommandLine::ApplyValue(const QString& name, const QString& value)
{
    if (name == QLatin1String("--open-item"))
        return ParseOpenItem(value);
    if (name == QLatin1String("--screenshot") || name == QLatin1String("--import")
        || name == QLatin1String("--export") || name == QLatin1String("--export-special-days")) {
        m_strFile = value;
        const QuilldayMode mode = name == QLatin1String("--screenshot") ? QuilldayMode::Screenshot
                                  : name == QLatin1String("--import")   ? QuilldayMode::Import
                                  : name == QLatin1String("--export")   ? QuilldayMode::Export
                                                                        : QuilldayMode::ExportSpecialDays;
        return SetMode(mode, name);
    }
    if (name == QLatin1String("--add-account") || name == QLatin1String("--remove-account")) {
        m_strAccount = value;
        return SetMode(name == QLatin1String("--add-account") ? QuilldayMode::AddAccount : QuilldayMode::RemoveAccount,
                       name);
    }
    if (name == QLatin1String("--user") || name == QLatin1String("--password-file")
        || name == QLatin1String("--calendar") || name == QLatin1String("--fingerprint")) {
        QString& strField = name == QLatin1String("--user")            ? m_strUser
                            : name == QLatin1String("--password-file") ? m_strPasswordFile
                            : name == QLatin1String("--calendar")      ? m_strCalendar
                                                                       : m_strFingerprint;
        strField = value;
        return true;
    }
    if (name == QLatin1String("--date")) {
        m_strDate = value;
        return IsIsoDate(value)
               || Fail(QStringLiteral("--date: '%1' is not a date of the form YYYY-MM-DD").arg(value));
    }
    if (name == QLatin1String("--size"))
        return ParseSize(value, &m_nWidth, &m_nHeight)
               || Fail(QStringLiteral("--size: '%1' is not of the form WIDTHxHEIGHT with sides from 1 to %2 "
                                      "(for example 480x640)")
                           .arg(value)
                           .arg(kMaxImageSide));
    if (name == QLatin1String("--scale")) {
        bool bOk = false;
        m_nScale = value.toInt(&bOk);
        return (bOk && m_nScale >= 1 && m_nScale <= kMaxScale)
               || Fail(QStringLiteral("--scale: '%1' is not a whole number from 1 to %2").arg(value).arg(kMaxScale));
    }
    if (name == QLatin1String("--language"))
        m_strLanguage = value;
    else if (name == QLatin1String("--home"))
        m_strHome = value;
    else if (name == QLatin1String("--store"))
        m_strStore = value;
    else
        m_strRegistry = value;
    return true;
}

bool CCommandLine::TakeValue(const QString& name, const QString* pInlineValue, const QStringList& args, int* pIndex,
                             QString* pValue)
{
    if (pInlineValue)
        *pValue = *pInlineValue;
    else if (*pIndex + 1 < args.size() && !IsOption(args.at(*pIndex + 1)))
        *pValue = args.at(++*pIndex);
    else
        return Fail(QStringLiteral("%1 needs a value").arg(name));
    return !pValue->isEmpty() || Fail(QStringLiteral("%1 needs a value").arg(name));
}

bool CCommandLine::SetMode(QuilldayMode mode, const QString& name)
{
    if (m_mode != QuilldayMode::Gui)
        return Fail(QStringLiteral("%1 cannot be combined with another mode").arg(name));
    m_mode = mode;
    return true;
}

bool CCommandLine::CheckCombinations()
{
    if (m_bJson && m_mode != QuilldayMode::PrintWeek)
        return Fail(QStringLiteral("--json works only with --print-week"));
    if ((m_seen.contains(QLatin1String("--date")) || m_seen.contains(QLatin1String("--size")))
        && m_mode != QuilldayMode::Screenshot)
        return Fail(QStringLiteral("--date and --size work only with --screenshot"));
    if ((m_seen.contains(QLatin1String("--user")) || m_seen.contains(QLatin1String("--password-file"))
         || m_seen.contains(QLatin1String("--calendar")) || m_seen.contains(QLatin1String("--fingerprint")))
        && m_mode != QuilldayMode::AddAccount)
        return Fail(QStringLiteral("--user, --password-file, --calendar and --fingerprint work only with --add-account"));
    static const QRegularExpression sha256(QStringLiteral("^([0-9A-Fa-f]{2}:?){31}[0-9A-Fa-f]{2}$"));
    if (m_seen.contains(QLatin1String("--fingerprint")) && !sha256.match(m_strFingerprint).hasMatch())
        return Fail(QStringLiteral("--fingerprint: '%1' is not a SHA-256 fingerprint (64 hex digits, colons allowed)")
                        .arg(m_strFingerprint));
    if (m_bAsSpecialDays && m_mode != QuilldayMode::Import)
        return Fail(QStringLiteral("--as-special-days works only with --import"));
    if (!m_strOpenItem.isEmpty() && m_mode != QuilldayMode::Gui)
        return Fail(QStringLiteral("--open-item works only without a mode"));
    if (!m_strOpenFile.isEmpty() && m_mode != QuilldayMode::Gui)
        return Fail(QStringLiteral("a file to open ('%1') works only without a mode").arg(m_strOpenFile));
    if (m_mode == QuilldayMode::LunarToSolar) {
        if (m_lunarDates.isEmpty())
            return Fail(QStringLiteral("--lunar-to-solar needs at least one date, or - to read them from standard input"));
        if (m_lunarDates.contains(QLatin1String("-"))) {
            if (m_lunarDates.size() != 1)
                return Fail(QStringLiteral("--lunar-to-solar: - cannot be combined with dates"));
            m_lunarDates.clear();
            m_bLunarFromStdin = true;
        }
    }
    return true;
}

bool CCommandLine::Fail(const QString& text)
{
    m_strError = text;
    return false;
}

namespace {

// The usage text in Korean.
QString KoreanHelpText()
{
    return QStringLiteral(
        "사용법: quillday [모드] [옵션]\n"
        "        quillday [옵션] 파일.ics\n"
        "펜으로 쓰기 좋은 주간 일정표입니다. 모드 없이 실행하면 주 화면을 열고, iCalendar\n"
        "파일을 주면 주 화면을 연 뒤 그 파일을 가져올지 묻습니다.\n"
        "\n"
        "모드 (하나만):\n"
        "  --print-week [YYYY-MM-DD]  그 주의 일곱 날 목록을 출력 (기본: 이번 주)\n"
        "  --json                     --print-week와 함께: 주를 JSON으로 출력\n"
        "  --screenshot 파일.png      주 화면을 화면 없이 그려 PNG 파일로 저장\n"
        "      --date YYYY-MM-DD      보여 줄 날짜 (기본: 오늘)\n"
        "      --size 너비x높이       창 크기(픽셀), 예: 240x320 (최대 8192x8192)\n"
        "  --import 파일.ics          iCalendar 파일의 일정과 작업을 저장소로 가져오기\n"
        "  --export 파일.ics          저장소의 일정과 작업, 기념일을 iCalendar 파일로 내보내기\n"
        "  --export-special-days 파일.ics\n"
        "                             기념일만 iCalendar 파일로 내보내기 (음력은 RSCALE 규칙)\n"
        "  --as-special-days          --import와 함께: 매년 반복하는 종일 일정을 기념일로 가져오기\n"
        "  --lunar-to-solar 날짜...   음력 날짜의 양력 날짜와 요일을 출력\n"
        "                             (YYYY-MM-DD, 윤달은 끝에 L);\n"
        "                             -는 표준 입력에서 한 줄에 하나씩 읽음\n"
        "  --reminders                창 없이 알림을 울림 (데스크톱 알림, 세션이 끝나면 종료)\n"
        "  --next-reminders [N]       다음에 울릴 알림 N개를 출력 (기본: 10)\n"
        "  --help                     이 도움말 보기\n"
        "  --version                  제품 이름과 버전 출력\n"
        "\n"
        "옵션:\n"
        "  --home 폴더                데이터 파일 anniversary.dat와 orlith.inf가 있는 폴더\n"
        "                             (기본: $QUILLDAY_HOME, 없으면 프로그램 폴더)\n"
        "  --store 파일               일정과 작업 저장소\n"
        "                             (기본: $XDG_DATA_HOME/quillday/pim.sqlite)\n"
        "  --add-account URL          CalDAV 계정 추가 (--user 이름, --password-file 파일,\n"
        "                             --calendar 주소, 자체 서명 인증서는 --fingerprint SHA256)\n"
        "  --list-accounts            계정 목록\n"
        "  --remove-account URL       계정 삭제 (저장소의 항목은 남음)\n"
        "  --sync                     모든 계정과 동기화\n"
        "  --registry 파일            설정 파일 (기본: $QUILLDAY_REGISTRY, 없으면\n"
        "                             $XDG_CONFIG_HOME/quillday/registry.reg)\n"
        "  --scale N                  창을 N배로 크게 그리기 (1에서 8)\n"
        "  --open-item OID[@YYYY-MM-DDTHH:MM]\n"
        "                             주 화면에서 그 항목(반복 일정은 그때 시작하는 일정)을 열기\n"
        "  --language 코드            ko(한국어) 또는 en(영어); 기본: 옵션에서 고른 언어,\n"
        "                             없으면 로캘 (LC_ALL, LC_MESSAGES, LANG)\n"
        "\n"
        "옵션 값은 --옵션=값 으로도 줄 수 있습니다.\n"
        "\n"
        "종료 상태: 성공하면 0, 시작이나 모드가 실패하면 1,\n"
        "명령줄을 쓸 수 없거나 모드를 쓸 수 없으면 2.\n");
}

}  // namespace

QString CCommandLine::HelpText(const QString& strLanguage)
{
    if (strLanguage == QLatin1String("ko"))
        return KoreanHelpText();
    return QStringLiteral(
        "Usage: quillday [MODE] [OPTIONS]\n"
        "       quillday [OPTIONS] FILE.ics\n"
        "A pen-friendly week agenda. Without a mode it opens the main window; given an\n"
        "iCalendar file it opens the main window and asks whether to import the file.\n"
        "\n"
        "Modes (at most one):\n"
        "  --print-week [YYYY-MM-DD]  print the seven day lists of that week (default: this week)\n"
        "  --json                     with --print-week: print the week as JSON\n"
        "  --screenshot FILE.png      render the main window offscreen into a PNG file\n"
        "      --date YYYY-MM-DD      the date to show (default: today)\n"
        "      --size WxH             the window size in pixels, for example 240x320 (at most 8192x8192)\n"
        "  --import FILE.ics          read appointments and tasks from an iCalendar file into the store\n"
        "  --export FILE.ics          write the store's appointments and tasks, and the special\n"
        "                             days, to an iCalendar file\n"
        "  --export-special-days FILE.ics\n"
        "                             write only the special days (lunar ones as RSCALE rules)\n"
        "  --as-special-days          with --import: yearly and single all-day events become\n"
        "                             special days\n"
        "  --lunar-to-solar DATE...   print the solar date and weekday of Korean lunar dates\n"
        "                             (YYYY-MM-DD, an L appended marks a leap month);\n"
        "                             - reads the dates from standard input, one a line\n"
        "  --reminders                ring reminders without the window (desktop notifications;\n"
        "                             ends with the session)\n"
        "  --next-reminders [N]       print the next N reminders that will ring (default: 10)\n"
        "  --help                     show this text\n"
        "  --version                  print the product name and version\n"
        "\n"
        "Options:\n"
        "  --home DIR                 folder of the data files anniversary.dat and orlith.inf\n"
        "                             (default: $QUILLDAY_HOME, else the program's own folder)\n"
        "  --store FILE               the appointment and task store\n"
        "                             (default: $XDG_DATA_HOME/quillday/pim.sqlite)\n"
        "  --add-account URL          add a CalDAV account (--user NAME, --password-file FILE,\n"
        "                             --calendar HREF, --fingerprint SHA256 of a self-signed\n"
        "                             certificate)\n"
        "  --list-accounts            list the accounts\n"
        "  --remove-account URL       remove an account (the store keeps its items)\n"
        "  --sync                     sync the store with every account\n"
        "  --registry FILE            the settings file (default: $QUILLDAY_REGISTRY, else\n"
        "                             $XDG_CONFIG_HOME/quillday/registry.reg)\n"
        "  --scale N                  draw the window N times larger (1 to 8)\n"
        "  --open-item OID[@YYYY-MM-DDTHH:MM]\n"
        "                             open that item (of a series: the occurrence starting then)\n"
        "                             in the main window\n"
        "  --language CODE            ko (Korean) or en (English); default: the options' choice,\n"
        "                             else the locale (LC_ALL, LC_MESSAGES, LANG)\n"
        "\n"
        "An option's value may also be given as --option=VALUE.\n"
        "\n"
        "Exit status: 0 on success, 1 when start-up or the mode fails,\n"
        "2 when the command line cannot be used or the mode is not available.\n");
}
