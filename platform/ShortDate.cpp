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
