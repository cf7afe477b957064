#include "dialogs/CEditorDialog.h"
#include <QLabel>
#include "week/AgendaSettings.h"
#include "week/WeekRange.h"
#include "controls/ScreenFit.h"
#include "dialogs/CDialogSoftKeyBar.h"
#include "dialogs/CDialogToolBar.h"
#include "ink/CInkWnd.h"
#include "dialogs/CNotesDlg.h"
#include "ink/NotesPreview.h"
#include "platform/MessageBox.h"
#include "dialogs/EditorIds.h"
#include "dialogs/IDialogHost.h"
#include "platform/ShortDate.h"
#include "resources/StringTable.h"
#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDateEdit>
#include <QKeyEvent>

namespace {

// The dialog text of the platform: Tahoma at 11 pixels.
constexpr int kDialogFontPixels = 11;
// The handheld's screen, the size of a dialog without a parent.
constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 320;
constexpr char kPickerIdProperty[] = "quillday_picker_id";
constexpr char kCtrlIdProperty[] = "quillday_ctrl_id";

}  // namespace

CEditorDialog::CEditorDialog(IDialogHost* pHost, QWidget* pParent, const QString& strCaption)
    : QDialog(pParent)
    , m_pHost(pHost)
{
    setWindowTitle(strCaption);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(kDialogFontPixels);
    setFont(font);
    if (pParent != nullptr)
        setGeometry(pParent->window()->geometry());
    else
        resize(kDefaultWidth, kDefaultHeight);
}

CEditorDialog::~CEditorDialog() = default;

void CEditorDialog::SetDlgCtrlID(QWidget* pControl, int nId)
{
    pControl->setProperty(kCtrlIdProperty, nId);
}

QWidget* CEditorDialog::GetDlgItem(int nId) const
{
    for (QWidget* pChild : findChildren<QWidget*>()) {
        if (pChild->property(kCtrlIdProperty).toInt() == nId)
            return pChild;
    }
    return nullptr;
}

int CEditorDialog::LabelColumnWidth(int nMinimum, const QList<const QLabel*>& labels)
{
    int nWidth = nMinimum;
    for (const QLabel* pLabel : labels)
        nWidth = std::max(nWidth, pLabel->sizeHint().width());
    return nWidth;
}

int CEditorDialog::DoModal()
{
    return exec();
}

const AgendaSettings& CEditorDialog::Settings() const
{
    return m_pHost->GetSettings();
}

QString CEditorDialog::LoadString(const char* pszKey) const
{
    return GetResourceString(m_pHost->GetStrings(), QString::fromLatin1(pszKey));
}

bool CEditorDialog::OnCommand(int nId)
{
    if (nId == ID_EDITOR_SAVE || nId == ID_EDIT_DETAIL)
        FinishDateEdit();
    switch (nId) {
    case ID_EDITOR_SAVE:
        if (Save())
            done(ID_EDITOR_SAVE);
        return true;
    case ID_EDITOR_CANCEL:
        done(ID_EDITOR_CANCEL);
        return true;
    case ID_EDIT_NOTES:
        EditNotes();
        return true;
    case ID_EDIT_DETAIL:
        if (Save())
            done(ID_EDITOR_RESULT_DETAIL);
        return true;
    default:
        return false;
    }
}

void CEditorDialog::FinishDateEdit()
{
    // A tool button or soft key takes no focus, so the picker being typed into still has
    // it: read what was typed there as leaving the picker would, before Save reads the
    // fields.
    for (QDateEdit* pPicker : findChildren<QDateEdit*>()) {
        if (!pPicker->hasFocus())
            continue;
        pPicker->interpretText();
        OnDatePickerClosed(pPicker->property(kCtrlIdProperty).toInt());
    }
}

void CEditorDialog::CreateNotesPreview(int nTop)
{
    m_nPreviewTop = nTop;
    m_pPreview = new CInkWnd(this);
    const RECT rcArea{0, nTop, width(), height()};
    ::CreateNotesPreview(m_pPreview, this, rcArea, m_pHost->GetStrings(), m_notes);
    m_pPreview->setFocusPolicy(Qt::NoFocus);
    SetDlgCtrlID(m_pPreview, IDC_NOTES_PREVIEW);
    PlaceBarAndPreview();
}

void CEditorDialog::CreateCommandArea(const EditorToolBarKeys& keys)
{
    if (Settings().UseSoftKey) {
        m_pSoftKeyBar = new CDialogSoftKeyBar(this);
        AddEditorSoftKeys(m_pSoftKeyBar);
        connect(m_pSoftKeyBar, &CDialogSoftKeyBar::command, this, [this](int nId) { OnCommand(nId); });
        m_pSoftKeyBar->show();
    } else {
        m_pToolBar = new CDialogToolBar(this, IDB_DIALOG_TOOLBAR);
        m_pToolBar->AddButton(0, LoadString(keys.pszSave), ID_EDITOR_SAVE);
        m_pToolBar->AddButton(1, LoadString(keys.pszCancel), ID_EDITOR_CANCEL);
        m_pToolBar->AddButton(2, LoadString(keys.pszNotes), ID_EDIT_NOTES);
        m_pToolBar->AddButton(3, LoadString(keys.pszDetail), ID_EDIT_DETAIL);
        connect(m_pToolBar, &CDialogToolBar::command, this, [this](int nId) { OnCommand(nId); });
        m_pToolBar->show();
    }
    PlaceBarAndPreview();
}

void CEditorDialog::EditNotes()
{
    CNotesDlg dlg(this, m_pHost->GetStrings(), Settings().NotesPenDefault);
    dlg.SetNotes(&m_notes);
    if (dlg.exec() == IDOK && m_pPreview != nullptr)
        RefreshNotesPreview(m_pPreview, m_notes);
    if (QWidget* pSubject = GetSubjectEdit())
        pSubject->setFocus(Qt::OtherFocusReason);
}

QDateEdit* CEditorDialog::CreateDatePicker(int nId)
{
    auto* pPicker = new QDateEdit(this);
    pPicker->setObjectName(QStringLiteral("date%1").arg(nId));
    pPicker->setDisplayFormat(GetShortDatePattern());
    pPicker->setCalendarPopup(true);
    pPicker->setDateRange(FirstShownDay(), LastShownDay());
    SetDlgCtrlID(pPicker, nId);
    connect(pPicker, &QDateEdit::editingFinished, this, [this, nId]() { OnDatePickerClosed(nId); });
    // The calendar lives in a popup window of its own; its hiding is the close-up, handled
    // once the popup has finished closing.
    QWidget* pPopup = pPicker->calendarWidget()->window();
    pPopup->setProperty(kPickerIdProperty, nId);
    pPopup->installEventFilter(this);
    KeepWindowOnScreen(pPopup);
    return pPicker;
}

bool CEditorDialog::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::Hide && pWatched->property(kPickerIdProperty).isValid()
        && static_cast<QWidget*>(pWatched)->isWindow())
        QMetaObject::invokeMethod(
            this, [this, nId = pWatched->property(kPickerIdProperty).toInt()]() { OnDatePickerClosed(nId); },
            Qt::QueuedConnection);
    return QDialog::eventFilter(pWatched, pEvent);
}

void CEditorDialog::keyPressEvent(QKeyEvent* pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnCommand(ID_EDITOR_SAVE);
        return;
    case Qt::Key_Escape:
        OnCommand(ID_EDITOR_CANCEL);
        return;
    default:
        QDialog::keyPressEvent(pEvent);
    }
}

void CEditorDialog::closeEvent(QCloseEvent* pEvent)
{
    // Closing the window is Cancel.
    if (isVisible() && result() == 0) {
        pEvent->ignore();
        OnCommand(ID_EDITOR_CANCEL);
        return;
    }
    QDialog::closeEvent(pEvent);
}

void CEditorDialog::showEvent(QShowEvent* pEvent)
{
    if (!m_bInitDone) {
        m_bInitDone = true;
        OnInitDialog();
        PlaceBarAndPreview();
    }
    QDialog::showEvent(pEvent);
}

void CEditorDialog::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    PlaceBarAndPreview();
}

void CEditorDialog::PlaceBarAndPreview()
{
    int nBarTop = height();
    if (m_pToolBar != nullptr) {
        const int nBarHeight = m_pToolBar->sizeHint().height();
        nBarTop = height() - nBarHeight;
        m_pToolBar->setGeometry(0, nBarTop, width(), nBarHeight);
    } else if (m_pSoftKeyBar != nullptr) {
        nBarTop = height() - kDialogSoftKeyBarHeight;
        m_pSoftKeyBar->setGeometry(0, nBarTop, width(), kDialogSoftKeyBarHeight);
    }
    // One pixel wider on either side, so that the preview's side borders lie outside the
    // dialog; its bottom ends on the bar.
    if (m_pPreview != nullptr)
        m_pPreview->setGeometry(-1, m_nPreviewTop, width() + 2, std::max(0, nBarTop - m_nPreviewTop));
    LayoutFields(width());
}
