#include "dialogs/CRecurrenceBox.h"
#include "dialogs/FormValues.h"

#include "pim/PimTypes.h"
#include "resources/StringTable.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kMaxInterval = 999;
constexpr int kMaxCount = 999;

// A chosen weekday stands out clearly under the pen.
const char* const kDayButtonStyle =
    "QToolButton { border: 1px solid #808080; padding: 2px; background: white; }"
    "QToolButton:checked { background: #1f4fa8; color: white; font-weight: bold; }";

// The weekday bits Monday first, as the rows show them, and their short-name keys.
constexpr int kDayBits[7] = {olMonday, olTuesday, olWednesday, olThursday, olFriday, olSaturday, olSunday};

QWidget* Row(QWidget* pParent, QHBoxLayout** ppLayout)
{
    auto* pRow = new QWidget(pParent);
    *ppLayout = new QHBoxLayout(pRow);
    (*ppLayout)->setContentsMargins(0, 0, 0, 0);
    (*ppLayout)->setSpacing(3);
    return pRow;
}

int DayIndexOfBit(int nBit)
{
    for (int i = 0; i < 7; ++i) {
        if (kDayBits[i] == nBit)
            return i;
    }
    return 0;
}

// The lowest-numbered weekday of a mask (Monday first), for the single-day choices.
int FirstDayBit(int nMask)
{
    for (int nBit : kDayBits) {
        if (nMask & nBit)
            return nBit;
    }
    return olMonday;
}

}  // namespace

CRecurrenceBox::CRecurrenceBox(const StringTable& strings, QWidget* pParent)
    : QWidget(pParent), m_strings(strings)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(3);

    m_pType = new QComboBox(this);  // placed in its row below
    const std::pair<int, const char*> kinds[] = {
        {kRecursNone, "RC_DETAILFORM_RECURS_NONE"},       {olRecursDaily, "RC_DETAILFORM_RECURS_DAILY"},
        {olRecursWeekly, "RC_DETAILFORM_RECURS_WEEKLY"},  {olRecursMonthly, "RC_DETAILFORM_RECURS_MONTHLY"},
        {olRecursMonthNth, "RC_DETAILFORM_RECURS_MONTHNTH"}, {olRecursYearly, "RC_DETAILFORM_RECURS_YEARLY"},
        {olRecursYearNth, "RC_DETAILFORM_RECURS_YEARNTH"}};
    for (const auto& [nType, pszKey] : kinds)
        m_pType->addItem(Text(pszKey), nType);
    QHBoxLayout* pTypeRow = nullptr;
    QWidget* pTypeWidget = Row(this, &pTypeRow);
    pTypeRow->addWidget(new QLabel(Text("RC_DETAILFORM_RECURRENCE"), pTypeWidget));
    pTypeRow->addWidget(m_pType, 1);
    pLayout->addWidget(pTypeWidget);

    m_pDetails = new QWidget(this);
    auto* pDetails = new QVBoxLayout(m_pDetails);
    pDetails->setContentsMargins(0, 0, 0, 0);
    pDetails->setSpacing(3);
    pLayout->addWidget(m_pDetails);

    QHBoxLayout* pRow = nullptr;
    m_pIntervalRow = Row(m_pDetails, &pRow);
    pRow->addWidget(new QLabel(Text("RC_DETAILFORM_EVERY"), m_pIntervalRow));
    m_pInterval = new QSpinBox(m_pIntervalRow);
    m_pInterval->setRange(0, kMaxInterval);  // 0 is refused with a message on Save
    pRow->addWidget(m_pInterval);
    m_pUnit = new QLabel(m_pIntervalRow);
    pRow->addWidget(m_pUnit, 1);
    pDetails->addWidget(m_pIntervalRow);

    m_pWeekdayRow = Row(m_pDetails, &pRow);
    pRow->setSpacing(1);
    const char* const kDayKeys[7] = {"RC_COMMON_MONDAY_SHORT",   "RC_COMMON_TUESDAY_SHORT", "RC_COMMON_WEDNESDAY_SHORT",
                                     "RC_COMMON_THURSDAY_SHORT", "RC_COMMON_FRIDAY_SHORT",  "RC_COMMON_SATURDAY_SHORT",
                                     "RC_COMMON_SUNDAY_SHORT"};
    for (int i = 0; i < 7; ++i) {
        m_pDays[i] = new QToolButton(m_pWeekdayRow);
        m_pDays[i]->setText(Text(kDayKeys[i]));
        m_pDays[i]->setCheckable(true);
        m_pDays[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_pDays[i]->setStyleSheet(QString::fromLatin1(kDayButtonStyle));
        pRow->addWidget(m_pDays[i]);
    }
    pDetails->addWidget(m_pWeekdayRow);

    m_pNthRow = Row(m_pDetails, &pRow);
    m_pInstance = new QComboBox(m_pNthRow);
    const char* const kInstanceKeys[5] = {"RC_DETAILFORM_INSTANCE_1", "RC_DETAILFORM_INSTANCE_2",
                                          "RC_DETAILFORM_INSTANCE_3", "RC_DETAILFORM_INSTANCE_4",
                                          "RC_DETAILFORM_INSTANCE_LAST"};
    for (int i = 0; i < 5; ++i)
        m_pInstance->addItem(Text(kInstanceKeys[i]), i + 1);
    pRow->addWidget(m_pInstance, 1);
    m_pWeekday = new QComboBox(m_pNthRow);
    const char* const kLongDayKeys[7] = {"RC_COMMON_MONDAY", "RC_COMMON_TUESDAY",  "RC_COMMON_WEDNESDAY",
                                         "RC_COMMON_THURSDAY", "RC_COMMON_FRIDAY", "RC_COMMON_SATURDAY",
                                         "RC_COMMON_SUNDAY"};
    for (int i = 0; i < 7; ++i)
        m_pWeekday->addItem(Text(kLongDayKeys[i]), kDayBits[i]);
    pRow->addWidget(m_pWeekday, 1);

    m_pMonthRow = Row(m_pDetails, &pRow);
    m_pMonth = new QComboBox(m_pMonthRow);
    for (int nMonth = 1; nMonth <= 12; ++nMonth)
        m_pMonth->addItem(GetMonthName(m_strings, nMonth), nMonth);
    pRow->addWidget(m_pMonth, 1);
    pDetails->addWidget(m_pMonthRow);
    pDetails->addWidget(m_pNthRow);

    m_pDayRow = Row(m_pDetails, &pRow);
    m_pDayOfMonth = new QSpinBox(m_pDayRow);
    m_pDayOfMonth->setRange(1, 31);
    pRow->addWidget(m_pDayOfMonth);
    pRow->addWidget(new QLabel(Text("RC_DETAILFORM_DAYOFMONTH"), m_pDayRow), 1);
    pDetails->addWidget(m_pDayRow);

    m_pShortMonth = new QLabel(m_pDetails);
    m_pShortMonth->setWordWrap(true);
    pDetails->addWidget(m_pShortMonth);

    QWidget* pEndRow = Row(m_pDetails, &pRow);
    pRow->addWidget(new QLabel(Text("RC_DETAILFORM_END"), pEndRow));
    m_pEnd = new QComboBox(pEndRow);
    m_pEnd->addItem(Text("RC_DETAILFORM_END_NEVER"), kEndNever);
    m_pEnd->addItem(Text("RC_DETAILFORM_END_COUNT"), kEndAfterCount);
    m_pEnd->addItem(Text("RC_DETAILFORM_END_DATE"), kEndByDate);
    pRow->addWidget(m_pEnd, 1);
    pDetails->addWidget(pEndRow);

    QWidget* pEndValueRow = Row(m_pDetails, &pRow);
    m_pCount = new QSpinBox(pEndValueRow);
    m_pCount->setRange(0, kMaxCount);  // 0 is refused with a message on Save
    pRow->addWidget(m_pCount);
    m_pTimes = new QLabel(Text("RC_DETAILFORM_TIMES"), pEndValueRow);
    pRow->addWidget(m_pTimes);
    m_pEndDate = NewFormDateEdit(pEndValueRow);
    pRow->addWidget(m_pEndDate, 1);
    pRow->addStretch();
    pDetails->addWidget(pEndValueRow);

    connect(m_pType, &QComboBox::currentIndexChanged, this, [this] { OnTypeChanged(); });
    connect(m_pEnd, &QComboBox::currentIndexChanged, this, [this] { UpdateVisibility(); });
    connect(m_pDayOfMonth, &QSpinBox::valueChanged, this, [this] { UpdateVisibility(); });
    connect(m_pMonth, &QComboBox::currentIndexChanged, this, [this] { UpdateVisibility(); });
    UpdateVisibility();
}

QString CRecurrenceBox::Text(const char* pszKey) const
{
    return GetResourceString(m_strings, QString::fromLatin1(pszKey));
}

QToolButton* CRecurrenceBox::WeekdayButton(int nBit) const
{
    return m_pDays[DayIndexOfBit(nBit)];
}

void CRecurrenceBox::SetValues(const RecurrenceValues& v)
{
    m_nShownType = v.nType;
    m_pType->blockSignals(true);
    m_pType->setCurrentIndex(qMax(0, m_pType->findData(v.nType)));
    m_pType->blockSignals(false);
    m_pInterval->setValue(v.nInterval);
    for (int i = 0; i < 7; ++i)
        m_pDays[i]->setChecked((v.nDayOfWeekMask & kDayBits[i]) != 0);
    m_pDayOfMonth->setValue(v.nDayOfMonth);
    m_pInstance->setCurrentIndex(qBound(0, v.nInstance - 1, 4));
    m_pWeekday->setCurrentIndex(DayIndexOfBit(FirstDayBit(v.nDayOfWeekMask)));
    m_nLoadedNthMask = v.nDayOfWeekMask & 0x7F;
    m_nLoadedNthIndex = m_pWeekday->currentIndex();
    m_pMonth->setCurrentIndex(qBound(0, v.nMonthOfYear - 1, 11));
    m_pEnd->setCurrentIndex(qMax(0, m_pEnd->findData(v.nEnd)));
    m_pCount->setValue(v.nOccurrences);
    m_pEndDate->setDate(v.endDate.isValid() ? v.endDate : m_start);
    UpdateVisibility();
}

RecurrenceValues CRecurrenceBox::GetValues() const
{
    RecurrenceValues v;
    v.nType = m_pType->currentData().toInt();
    v.nInterval = m_pInterval->value();
    if (v.nType == olRecursWeekly) {
        v.nDayOfWeekMask = 0;
        for (int i = 0; i < 7; ++i)
            v.nDayOfWeekMask |= m_pDays[i]->isChecked() ? kDayBits[i] : 0;
    } else if (m_pWeekday->currentIndex() == m_nLoadedNthIndex && m_nLoadedNthMask != 0) {
        v.nDayOfWeekMask = m_nLoadedNthMask;
    } else {
        v.nDayOfWeekMask = m_pWeekday->currentData().toInt();
    }
    v.nDayOfMonth = m_pDayOfMonth->value();
    v.nInstance = m_pInstance->currentData().toInt();
    v.nMonthOfYear = m_pMonth->currentData().toInt();
    v.nEnd = m_pEnd->currentData().toInt();
    v.nOccurrences = m_pCount->value();
    v.endDate = m_pEndDate->date();
    return v;
}

// A pattern chosen where there was none starts from the item's start day.
void CRecurrenceBox::OnTypeChanged()
{
    const int nType = m_pType->currentData().toInt();
    if (m_nShownType == kRecursNone && nType != kRecursNone && m_start.isValid()) {
        RecurrenceValues v = DefaultRecurrence(m_start);
        v.nType = nType;
        SetValues(v);
        return;
    }
    m_nShownType = nType;
    UpdateVisibility();
}

void CRecurrenceBox::UpdateVisibility()
{
    const int nType = m_pType->currentData().toInt();
    m_pDetails->setVisible(nType != kRecursNone);
    const char* pszUnit = "RC_DETAILFORM_UNIT_DAYS";
    if (nType == olRecursWeekly)
        pszUnit = "RC_DETAILFORM_UNIT_WEEKS";
    else if (nType == olRecursMonthly || nType == olRecursMonthNth)
        pszUnit = "RC_DETAILFORM_UNIT_MONTHS";
    else if (nType == olRecursYearly || nType == olRecursYearNth)
        pszUnit = "RC_DETAILFORM_UNIT_YEARS";
    m_pUnit->setText(Text(pszUnit));
    m_pWeekdayRow->setVisible(nType == olRecursWeekly);
    m_pDayRow->setVisible(nType == olRecursMonthly || nType == olRecursYearly);
    m_pNthRow->setVisible(nType == olRecursMonthNth || nType == olRecursYearNth);
    m_pMonthRow->setVisible(nType == olRecursYearly || nType == olRecursYearNth);
    const RecurrenceValues v = GetValues();
    m_pShortMonth->setText(Text("RC_DETAILFORM_SHORTMONTH").arg(v.nDayOfMonth));
    m_pShortMonth->setVisible(SkipsShortMonths(v));
    const int nEnd = m_pEnd->currentData().toInt();
    m_pCount->setVisible(nEnd == kEndAfterCount);
    m_pTimes->setVisible(nEnd == kEndAfterCount);
    m_pEndDate->setVisible(nEnd == kEndByDate);
}
