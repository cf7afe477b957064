#include "dialogs/FormValues.h"

#include "pim/PimTypes.h"
#include "pim/VariantTime.h"
#include "platform/ShortDate.h"
#include "controls/ScreenFit.h"
#include "week/WeekRange.h"
#include <QCalendarWidget>
#include <QDateEdit>

QDateTime DateTimeOfDate(DATE dt)
{
    SYSTEMTIME st{};
    if (dt >= kNoDate || !VariantTimeToSystemTime(dt, &st))
        return QDateTime();
    return QDateTime(QDate(st.wYear, st.wMonth, st.wDay), QTime(st.wHour, st.wMinute));
}

DATE DateOfQt(const QDate& date, const QTime& time)
{
    if (!date.isValid())
        return kNoDate;
    SYSTEMTIME st{};
    st.wYear = static_cast<uint16_t>(date.year());
    st.wMonth = static_cast<uint16_t>(date.month());
    st.wDay = static_cast<uint16_t>(date.day());
    st.wHour = static_cast<uint16_t>(time.isValid() ? time.hour() : 0);
    st.wMinute = static_cast<uint16_t>(time.isValid() ? time.minute() : 0);
    DATE dt = kNoDate;
    return SystemTimeToVariantTime(&st, &dt) ? dt : kNoDate;
}

QString FormDatePattern()
{
    QString str = GetShortDatePattern();
    if (!str.contains(QLatin1String("yyyy")))
        str.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return str;
}

QString FormTimePattern(bool bUse24Hour)
{
    return bUse24Hour ? QStringLiteral("H:mm") : QStringLiteral("h:mm AP");
}

QDateEdit* NewFormDateEdit(QWidget* pParent)
{
    auto* pEdit = new QDateEdit(pParent);
    pEdit->setCalendarPopup(true);
    pEdit->setDisplayFormat(FormDatePattern());
    pEdit->setDateRange(FirstShownDay(), LastShownDay());
    KeepWindowOnScreen(pEdit->calendarWidget()->window());
    return pEdit;
}

const QVector<int>& ReminderChoices()
{
    static const QVector<int> choices = {0, 5, 10, 15, 30, 60, 120, 24 * 60, 2 * 24 * 60, 7 * 24 * 60};
    return choices;
}

bool ParseReminderMinutes(const QString& strText, int* pnMinutes)
{
    const QString str = strText.trimmed();
    bool bOk = !str.isEmpty();
    for (QChar c : str)
        bOk = bOk && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const int n = bOk ? str.toInt(&bOk) : -1;
    if (!bOk || n < 0 || n > kMaxReminderMinutes)
        return false;
    *pnMinutes = n;
    return true;
}
