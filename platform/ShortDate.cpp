#include "platform/ShortDate.h"

#include <QDate>
#include <QLocale>

QString GetShortDatePattern()
{
    const QString pattern = qEnvironmentVariable("QUILLDAY_SHORTDATE");
    if (!pattern.isEmpty())
        return pattern;
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString FormatShortDate(const SYSTEMTIME& st)
{
    const QDate date(st.wYear, st.wMonth, st.wDay);
    if (!date.isValid())
        return QString();  // GetDateFormatW fails for a date that does not exist
    return QLocale::system().toString(date, GetShortDatePattern());
}

namespace {

// The pattern with each two-letter year field ("yy", outside quotes) made "yyyy".
QString WithFullYear(const QString& strPattern)
{
    QString strOut;
    bool bQuoted = false;
    for (int i = 0; i < strPattern.size();) {
        const QChar c = strPattern[i];
        if (c == u'\'')
            bQuoted = !bQuoted;
        int n = 1;
        while (!bQuoted && c == u'y' && i + n < strPattern.size() && strPattern[i + n] == u'y')
            ++n;
        strOut += (!bQuoted && c == u'y' && n == 2) ? QStringLiteral("yyyy") : strPattern.mid(i, n);
        i += n;
    }
    return strOut;
}

}  // namespace

QString FormatShortDateForQuery(const SYSTEMTIME& st)
{
    if (st.wYear >= 1970 && st.wYear <= 2069)
        return FormatShortDate(st);
    const QDate date(st.wYear, st.wMonth, st.wDay);
    if (!date.isValid())
        return QString();
    return QLocale::system().toString(date, WithFullYear(GetShortDatePattern()));
}
