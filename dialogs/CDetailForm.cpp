#include "dialogs/CDetailForm.h"

#include "dialogs/CDialogToolBar.h"
#include "dialogs/FormValues.h"
#include "ink/CInkPage.h"
#include "ink/NotesPreview.h"
#include "pim/IPOutlookItem.h"
#include "platform/MessageBox.h"
#include "resources/StringTable.h"
#include <QAbstractSpinBox>
#include <QAction>
#include <QCoreApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int kFormWidth = 240;   // the handheld's screen, when there is no main window
constexpr int kFormHeight = 320;
constexpr int kBodyLines = 4;
constexpr int IDB_FORM_TOOLBAR = 219;  // the editors' bar pictures: Save, Cancel, ...
constexpr int kFontPixels = 11;          // the size of the day lists' texts
constexpr int kComboContentsLength = 4;  // characters a list box asks room for at least

}  // namespace

const char* const CDetailForm::kCancelledKey = "-";  // never a text key

CDetailForm::CDetailForm(const DetailFormContext& ctx, const char* pszTitleKey)
    : QDialog(ctx.pParent), m_ctx(ctx)
{
    setWindowTitle(Text(pszTitleKey));
    setModal(true);
    QFont font = this->font();
    font.setPixelSize(kFontPixels);
    setFont(font);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);

    m_pScroll = new QScrollArea(this);
    m_pScroll->setWidgetResizable(true);
    m_pScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pScroll->setFrameShape(QFrame::NoFrame);
    m_pPage = new QWidget(m_pScroll);
    m_pGrid = new QGridLayout(m_pPage);
    m_pGrid->setContentsMargins(4, 4, 4, 4);
    m_pGrid->setHorizontalSpacing(4);
    m_pGrid->setVerticalSpacing(3);
    m_pGrid->setColumnStretch(1, 1);
    m_pScroll->setWidget(m_pPage);
    pLayout->addWidget(m_pScroll, 1);

    m_pMessage = new QLabel(this);
    m_pMessage->setWordWrap(true);
    m_pMessage->setContentsMargins(4, 2, 4, 2);
    m_pMessage->setStyleSheet(QStringLiteral("color: #c00000"));
    m_pMessage->hide();
    pLayout->addWidget(m_pMessage);

    m_pToolBar = new CDialogToolBar(this, IDB_FORM_TOOLBAR);
    m_pToolBar->AddButton(0, Text("RC_DETAILFORM_SAVE"), IDC_FORM_SAVE);
    m_pToolBar->AddButton(1, Text("RC_DETAILFORM_CANCEL"), IDC_FORM_CANCEL);
    connect(m_pToolBar, &CDialogToolBar::command, this, &CDetailForm::OnCommand);
    pLayout->addWidget(m_pToolBar);

    if (ctx.pParent != nullptr)
        setGeometry(QRect(ctx.pParent->mapToGlobal(QPoint(0, 0)), ctx.pParent->size()));
    else
        resize(kFormWidth, kFormHeight);
}

QString CDetailForm::Text(const char* pszKey) const
{
    return m_ctx.pStrings ? GetResourceString(*m_ctx.pStrings, QString::fromLatin1(pszKey)) : QString();
}

void CDetailForm::AddRow(const char* pszLabelKey, QWidget* pField)
{
    const int nRow = m_pGrid->rowCount();
    if (pszLabelKey != nullptr)
        m_pGrid->addWidget(new QLabel(Text(pszLabelKey), m_pPage), nRow, 0);
    m_pGrid->addWidget(pField, nRow, 1);
}

void CDetailForm::AddWideRow(QWidget* pField)
{
    m_pGrid->addWidget(pField, m_pGrid->rowCount(), 0, 1, 2);
}

void CDetailForm::AddReminderRow(bool bWithMinutes)
{
    m_pReminder = new QCheckBox(Text("RC_DETAILFORM_REMINDER"), m_pPage);
    if (!bWithMinutes) {
        AddWideRow(m_pReminder);
        return;
    }
    auto* pRow = new QWidget(m_pPage);
    auto* pLayout = new QHBoxLayout(pRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(3);
    pLayout->addWidget(m_pReminder);
    m_pReminderMinutes = new QComboBox(pRow);
    m_pReminderMinutes->setEditable(true);
    m_pReminderMinutes->setInsertPolicy(QComboBox::NoInsert);
    for (int nMinutes : ReminderChoices())
        m_pReminderMinutes->addItem(QString::number(nMinutes));
    pLayout->addWidget(m_pReminderMinutes, 1);
    pLayout->addWidget(new QLabel(Text("RC_DETAILFORM_MINUTESBEFORE"), pRow));
    AddWideRow(pRow);
    connect(m_pReminder, &QCheckBox::toggled, m_pReminderMinutes, &QWidget::setEnabled);
}

void CDetailForm::AddBodyRow()
{
    AddWideRow(new QLabel(Text("RC_DETAILFORM_BODY"), m_pPage));
    m_pBody = new QPlainTextEdit(m_pPage);
    m_pBody->setTabChangesFocus(true);
    m_pBody->setMinimumHeight(m_pBody->fontMetrics().lineSpacing() * kBodyLines + 8);
    AddWideRow(m_pBody);
}

void CDetailForm::LoadReminderAndBody(IPOutlookItem* pItem, BOOL bReminderSet, int nMinutes)
{
    m_pReminder->setChecked(bReminderSet != FALSE);
    if (m_pReminderMinutes != nullptr) {
        m_pReminderMinutes->setEditText(QString::number(nMinutes));
        m_pReminderMinutes->setEnabled(bReminderSet != FALSE);
    }
    QByteArray notes;
    pItem->get_BodyInk(&notes);
    m_strLoadedBody.clear();
    if (CInkPage::IsOwnFormat(notes))
        pItem->get_Body(&m_strLoadedBody);
    else
        m_pBody->setPlaceholderText(m_ctx.pStrings ? UnreadableNotesText(*m_ctx.pStrings) : QString());
    m_pBody->setPlainText(m_strLoadedBody);
}

bool CDetailForm::BodyChanged() const
{
    return m_pBody->toPlainText() != m_strLoadedBody;
}

bool CDetailForm::ReadReminderMinutes(int* pnMinutes) const
{
    return m_pReminderMinutes != nullptr && ParseReminderMinutes(m_pReminderMinutes->currentText(), pnMinutes);
}

bool CDetailForm::ConfirmDroppedExceptions(IPOutlookItem* pItem) const
{
    int32_t nDropped = 0;
    if (FAILED(pItem->CountDroppedExceptions(&nDropped)) || nDropped == 0)
        return true;  // a failure here fails Save, which says so
    const QString strText = Text("RC_DETAILFORM_CONFIRM_DROPEXCEPTIONS").arg(nDropped);
    return MessageBox(strText, Text("RC_COMMON_PRODUCT_TITLE"), MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) == IDOK;
}

void CDetailForm::OnCommand(int nId)
{
    if (nId == IDC_FORM_CANCEL) {
        reject();
        return;
    }
    if (nId != IDC_FORM_SAVE)
        return;
    const QString strKey = SaveItem();
    if (strKey.isEmpty()) {
        accept();
        return;
    }
    if (strKey != QLatin1String(kCancelledKey))
        ShowMessage(strKey);
}

QString CDetailForm::GetMessage() const
{
    return m_pMessage->isVisible() || !m_pMessage->text().isEmpty() ? m_pMessage->text() : QString();
}

void CDetailForm::ShowMessage(const QString& strKey)
{
    m_pMessage->setText(Text(strKey.toLatin1().constData()));
    m_pMessage->show();
}

// A list box asks for the room of its longest entry unless told otherwise; on a screen 240
// pixels wide the rows share the width instead.
void CDetailForm::showEvent(QShowEvent* pEvent)
{
    for (QComboBox* pCombo : findChildren<QComboBox*>()) {
        pCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        pCombo->setMinimumContentsLength(kComboContentsLength);
    }
    for (QWidget* pField : m_pPage->findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(pField) || qobject_cast<QAbstractSpinBox*>(pField)) {
            pField->setFocusPolicy(Qt::StrongFocus);
            pField->installEventFilter(this);
        }
    }
    QDialog::showEvent(pEvent);
}

bool CDetailForm::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::Wheel && pWatched->isWidgetType() && !static_cast<QWidget*>(pWatched)->hasFocus()) {
        QCoreApplication::sendEvent(m_pScroll->verticalScrollBar(), pEvent);
        return true;
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

void CDetailForm::keyPressEvent(QKeyEvent* pEvent)
{
    const int nKey = pEvent->key();
    if (nKey == Qt::Key_Escape) {
        OnCommand(IDC_FORM_CANCEL);
        return;
    }
    if ((nKey == Qt::Key_Return || nKey == Qt::Key_Enter) && focusWidget() != m_pBody) {
        OnCommand(IDC_FORM_SAVE);
        return;
    }
    QDialog::keyPressEvent(pEvent);
}
