#include "dialogs/CAnniversaryDlg.h"

#include "platform/MessageBox.h"
#include "resources/StringTable.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kSwatchSide = 10;
constexpr int kLastYear = 9999;

QColor ColourOf(COLORREF cr) { return QColor(cr & 0xFF, (cr >> 8) & 0xFF, (cr >> 16) & 0xFF); }

QIcon Swatch(COLORREF cr)
{
    QPixmap pixmap(kSwatchSide, kSwatchSide);
    pixmap.fill(ColourOf(cr));
    return QIcon(pixmap);
}

// A text such as "#월", where # stands for the number, as the box's prefix and suffix.
void SetNumberFormat(QSpinBox* pBox, const QString& strFormat)
{
    const qsizetype nAt = strFormat.indexOf(u'#');
    pBox->setPrefix(nAt < 0 ? QString() : strFormat.left(nAt));
    pBox->setSuffix(nAt < 0 ? QString() : strFormat.mid(nAt + 1));
}

}  // namespace

CAnniversaryDlg::CAnniversaryDlg(const StringTable* pStrings, const QString& strPersonalFile,
                                 const QString& strProgramFile, QWidget* pParent)
    : QDialog(pParent), m_pStrings(pStrings), m_strPath(strPersonalFile)
{
    setWindowTitle(Text("RC_SPECIALDLG_TITLE"));
    setModal(true);
    QString strError;
    CAnniversaryLines::StartFrom(strProgramFile, strPersonalFile, &strError);
    m_file.Load(strPersonalFile);
    if (QFileInfo(strPersonalFile).canonicalFilePath() != QFileInfo(strProgramFile).canonicalFilePath()) {
        CAnniversaryLines program;
        if (program.Load(strProgramFile))
            for (int i = 0; i < program.GetDayCount(); ++i)
                m_holidayLines.insert(program.GetDayLine(i));
    }
    BuildForm();
    FillLists();
    if (pParent != nullptr)
        setGeometry(QRect(pParent->mapToGlobal(QPoint(0, 0)), pParent->size()));
}

QString CAnniversaryDlg::Text(const char* pszKey) const
{
    return m_pStrings != nullptr ? GetResourceString(*m_pStrings, QString::fromLatin1(pszKey)) : QString();
}

void CAnniversaryDlg::BuildForm()
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->setSpacing(2);
    pLayout->addWidget(new QLabel(Text("RC_SPECIALDLG_MINE"), this));
    m_pDays = new QListWidget(this);
    pLayout->addWidget(m_pDays, 2);
    pLayout->addWidget(new QLabel(Text("RC_SPECIALDLG_HOLIDAYS"), this));
    m_pHolidays = new QListWidget(this);
    m_pHolidays->setSelectionMode(QAbstractItemView::NoSelection);
    m_pHolidays->setFocusPolicy(Qt::NoFocus);
    pLayout->addWidget(m_pHolidays, 1);

    auto* pGrid = new QGridLayout;
    pGrid->setSpacing(2);
    m_pName = new QLineEdit(this);
    m_pName->setPlaceholderText(Text("RC_SPECIALDLG_NAME"));
    pGrid->addWidget(m_pName, 0, 0, 1, 4);
    m_pCalendar = new QComboBox(this);
    m_pCalendar->addItem(Text("RC_SPECIALDLG_SOLAR"));
    m_pCalendar->addItem(Text("RC_SPECIALDLG_LUNAR"));
    pGrid->addWidget(m_pCalendar, 1, 0, 1, 2);
    m_pLeap = new QCheckBox(Text("RC_SPECIALDLG_LEAP"), this);
    pGrid->addWidget(m_pLeap, 1, 2, 1, 2);
    m_pEveryYear = new QCheckBox(Text("RC_SPECIALDLG_EVERY_YEAR"), this);
    pGrid->addWidget(m_pEveryYear, 2, 0, 1, 2);
    m_pGroup = new QComboBox(this);
    const QList<COLORREF> colours = m_file.GetGroupColours();
    for (int i = 0; i < colours.size(); ++i)
        m_pGroup->addItem(Swatch(colours[i]), Text("RC_SPECIALDLG_COLOUR") + QStringLiteral(" %1").arg(i + 1));
    m_pGroup->setCurrentIndex(static_cast<int>(colours.size()) - 1);
    pGrid->addWidget(m_pGroup, 2, 2, 1, 2);
    m_pYear = new QSpinBox(this);
    m_pYear->setRange(1, kLastYear);
    m_pMonth = new QSpinBox(this);
    m_pMonth->setRange(1, 12);
    SetNumberFormat(m_pMonth, Text("RC_SPECIALDLG_MONTH_FORMAT"));
    m_pDay = new QSpinBox(this);
    m_pDay->setRange(1, 31);
    SetNumberFormat(m_pDay, Text("RC_SPECIALDLG_DAY_FORMAT"));
    SetNumberFormat(m_pYear, Text("RC_SPECIALDLG_YEAR_FORMAT"));
    pGrid->addWidget(m_pYear, 3, 0, 1, 2);
    pGrid->addWidget(m_pMonth, 3, 2);
    pGrid->addWidget(m_pDay, 3, 3);
    pLayout->addLayout(pGrid);

    auto* pButtons = new QHBoxLayout;
    const struct {
        const char* pszKey;
        bool (CAnniversaryDlg::*pfn)();
    } buttons[] = {{"RC_SPECIALDLG_ADD", &CAnniversaryDlg::OnAdd},
                   {"RC_SPECIALDLG_CHANGE", &CAnniversaryDlg::OnChange},
                   {"RC_SPECIALDLG_DELETE", &CAnniversaryDlg::OnDelete}};
    for (const auto& button : buttons) {
        auto* pButton = new QToolButton(this);
        pButton->setText(Text(button.pszKey));
        pButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(pButton, &QToolButton::clicked, this, [this, pfn = button.pfn] { (this->*pfn)(); });
        pButtons->addWidget(pButton);
    }
    auto* pClose = new QToolButton(this);
    pClose->setText(Text("RC_ABOUTDLG_CLOSE"));
    pClose->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(pClose, &QToolButton::clicked, this, &QDialog::accept);
    pButtons->addWidget(pClose);
    pLayout->addLayout(pButtons);

    SetForm(AnniversaryFields{QString(), 0, QDate::currentDate().month(), QDate::currentDate().day(), false, false},
            m_pGroup->currentIndex());
    connect(m_pDays, &QListWidget::currentRowChanged, this, &CAnniversaryDlg::OnSelected);
    connect(m_pCalendar, &QComboBox::currentIndexChanged, this, &CAnniversaryDlg::OnFormChanged);
    connect(m_pEveryYear, &QCheckBox::toggled, this, &CAnniversaryDlg::OnFormChanged);
}

QString CAnniversaryDlg::DayText(const AnniversaryFields& day) const
{
    QString strDate = day.nYear != 0 ? QStringLiteral("%1.%2.%3").arg(day.nYear).arg(day.nMonth).arg(day.nDay)
                                     : QStringLiteral("%1.%2").arg(day.nMonth).arg(day.nDay);
    if (day.bLunar)
        strDate = Text(day.bLeapMonth ? "RC_SPECIALDLG_LEAP_MARK" : "RC_SPECIALDLG_LUNAR_MARK") + u' ' + strDate;
    return strDate + QStringLiteral("  ") + day.strName;
}

void CAnniversaryDlg::FillLists()
{
    m_pDays->clear();
    m_pHolidays->clear();
    m_listDays.clear();
    const QList<COLORREF> colours = m_file.GetGroupColours();
    for (int i = 0; i < m_file.GetDayCount(); ++i) {
        QListWidget* pList = m_holidayLines.contains(m_file.GetDayLine(i)) ? m_pHolidays : m_pDays;
        auto* pItem = new QListWidgetItem(Swatch(colours.value(m_file.GetDayGroup(i))), DayText(m_file.GetDay(i)), pList);
        pItem->setForeground(ColourOf(colours.value(m_file.GetDayGroup(i))));
        if (pList == m_pDays)
            m_listDays.push_back(i);
    }
}

void CAnniversaryDlg::SetForm(const AnniversaryFields& day, int nGroup)
{
    m_pName->setText(day.strName);
    m_pCalendar->setCurrentIndex(day.bLunar ? 1 : 0);
    m_pLeap->setChecked(day.bLeapMonth);
    m_pEveryYear->setChecked(day.nYear == 0);
    m_pYear->setValue(day.nYear != 0 ? day.nYear : QDate::currentDate().year());
    m_pMonth->setValue(day.nMonth);
    m_pDay->setValue(day.nDay);
    m_pGroup->setCurrentIndex(nGroup);
    OnFormChanged();
}

AnniversaryFields CAnniversaryDlg::FormDay() const
{
    AnniversaryFields day;
    day.strName = m_pName->text().trimmed();
    day.bLunar = m_pCalendar->currentIndex() == 1;
    day.bLeapMonth = day.bLunar && m_pLeap->isChecked();
    day.nYear = m_pEveryYear->isChecked() ? 0 : m_pYear->value();
    day.nMonth = m_pMonth->value();
    day.nDay = m_pDay->value();
    return day;
}

void CAnniversaryDlg::OnFormChanged()
{
    m_pLeap->setEnabled(m_pCalendar->currentIndex() == 1);
    m_pYear->setEnabled(!m_pEveryYear->isChecked());
}

void CAnniversaryDlg::OnSelected()
{
    const int nRow = m_pDays->currentRow();
    if (nRow >= 0 && nRow < static_cast<int>(m_listDays.size()))
        SetForm(m_file.GetDay(m_listDays[nRow]), m_file.GetDayGroup(m_listDays[nRow]));
}

QString CAnniversaryDlg::ProblemText(SpecialDayProblem problem) const
{
    switch (problem) {
    case SpecialDayProblem::EmptyName:
        return Text("RC_SPECIALDLG_ERR_NAME");
    case SpecialDayProblem::NameTooLong:
        return Text("RC_SPECIALDLG_ERR_NAME_LONG");
    case SpecialDayProblem::BadYear:
        return Text("RC_SPECIALDLG_ERR_YEAR");
    case SpecialDayProblem::NoSuchDay:
        return Text("RC_SPECIALDLG_ERR_DAY");
    case SpecialDayProblem::NoSuchLunarDay:
        return Text("RC_SPECIALDLG_ERR_LUNAR_DAY");
    case SpecialDayProblem::NoLeapMonth:
        return Text("RC_SPECIALDLG_ERR_LEAP");
    case SpecialDayProblem::None:
        break;
    }
    return QString();
}

bool CAnniversaryDlg::Commit(SpecialDayProblem problem, const CAnniversaryLines& before)
{
    QString strError;
    if (problem != SpecialDayProblem::None) {
        MessageBox(ProblemText(problem), windowTitle(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!m_file.Save(m_strPath, &strError)) {
        m_file = before;
        MessageBox(Text("RC_SPECIALDLG_ERR_SAVE") + QStringLiteral("\n") + strError, windowTitle(),
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    FillLists();
    if (m_fnSaved)
        m_fnSaved();
    return true;
}

bool CAnniversaryDlg::OnAdd()
{
    const CAnniversaryLines before = m_file;
    return Commit(m_file.AddDay(FormDay(), m_pGroup->currentIndex()), before);
}

bool CAnniversaryDlg::OnChange()
{
    const int nRow = m_pDays->currentRow();
    if (nRow < 0 || nRow >= static_cast<int>(m_listDays.size()))
        return false;
    const CAnniversaryLines before = m_file;
    return Commit(m_file.ChangeDay(m_listDays[nRow], FormDay(), m_pGroup->currentIndex()), before);
}

bool CAnniversaryDlg::OnDelete()
{
    const int nRow = m_pDays->currentRow();
    if (nRow < 0 || nRow >= static_cast<int>(m_listDays.size()))
        return false;
    const CAnniversaryLines before = m_file;
    m_file.DeleteDay(m_listDays[nRow]);
    return Commit(SpecialDayProblem::None, before);
}
