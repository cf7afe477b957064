#include "app/CCommandLine.h"

#include <QDate>
#include <QRegularExpression>

namespace {

constexpr int kMaxScale = 8;
// As large as a screen shows; a larger picture only costs memory (8192 x 8192 is 256 MB).
constexpr int kMaxImageSide = 8192;

bool IsOption(const QString& arg) { return arg.startsWith(QLatin1String("--")); }

bool IsIsoDate(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    return form.match(text).hasMatch() && QDate::fromString(text, QStringLiteral("yyyy-MM-dd")).isValid();
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
    const QStringList valueOptions{QStringLiteral("--screenshot"), QStringLiteral("--import"),
                                   QStringLiteral("--export"),     QStringLiteral("--date"),
                                   QStringLiteral("--size"),       QStringLiteral("--home"),
                                   QStringLiteral("--store"),      QStringLiteral("--registry"),
                                   QStringLiteral("--scale")};
    if (!valueOptions.contains(name))
        return Fail(QStringLiteral("unknown option '%1'").arg(name));
    QString value;
    return TakeValue(name, pInlineValue, args, pIndex, &value) && ApplyValue(name, value);
}

bool CCommandLine::ParsePrintWeek(const QString* pInlineValue, const QStringList& args, int* pIndex)
{
    // The date is optional: taken when given inline or when the next word is no option.
    QString value;
    if (pInlineValue)
        value = *pInlineValue;
    else if (*pIndex + 1 < args.size() && !args.at(*pIndex + 1).startsWith(QLatin1Char('-')))
        value = args.at(++*pIndex);
    if ((pInlineValue || !value.isEmpty()) && !IsIsoDate(value))
        return Fail(QStringLiteral("--print-week: '%1' is not a date of the form YYYY-MM-DD").arg(value));
    m_strDate = value;
    return SetMode(QuilldayMode::PrintWeek, QStringLiteral("--print-week"));
}

bool CCommandLine::ApplyValue(const QString& name, const QString& value)
{
    if (name == QLatin1String("--screenshot") || name == QLatin1String("--import")
        || name == QLatin1String("--export")) {
        m_strFile = value;
        const QuilldayMode mode = name == QLatin1String("--screenshot") ? QuilldayMode::Screenshot
                                  : name == QLatin1String("--import")   ? QuilldayMode::Import
                                                                        : QuilldayMode::Export;
        return SetMode(mode, name);
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
    if (name == QLatin1String("--home"))
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

QString CCommandLine::HelpText()
{
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
        "  --export FILE.ics          write the store's appointments and tasks to an iCalendar file\n"
        "  --lunar-to-solar DATE...   print the solar date and weekday of Korean lunar dates\n"
        "                             (YYYY-MM-DD, an L appended marks a leap month);\n"
        "                             - reads the dates from standard input, one a line\n"
        "  --help                     show this text\n"
        "  --version                  print the product name and version\n"
        "\n"
        "Options:\n"
        "  --home DIR                 folder of the data files anniversary.dat and orlith.inf\n"
        "                             (default: $QUILLDAY_HOME, else the program's own folder)\n"
        "  --store FILE               the appointment and task store\n"
        "                             (default: $XDG_DATA_HOME/quillday/pim.sqlite)\n"
        "  --registry FILE            the settings file (default: $QUILLDAY_REGISTRY, else\n"
        "                             $XDG_CONFIG_HOME/quillday/registry.reg)\n"
        "  --scale N                  draw the window N times larger (1 to 8)\n"
        "\n"
        "An option's value may also be given as --option=VALUE.\n"
        "\n"
        "Exit status: 0 on success, 1 when start-up or the mode fails,\n"
        "2 when the command line cannot be used or the mode is not available.\n");
}
