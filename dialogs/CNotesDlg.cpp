#include "dialogs/CNotesDlg.h"
#include "dialogs/CDialogToolBar.h"
#include "ink/NotesPreview.h"
#include "platform/MessageBox.h"
#include "resources/StringTable.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The size of a dialog without a main window to cover (the handheld's screen).
constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 320;

}  // namespace

CNotesDlg::CNotesDlg(QWidget* pParent, const StringTable& strings, BOOL bNotesPenDefault)
    : QDialog(pParent)
    , m_strings(strings)
    , m_bNotesPenDefault(bNotesPenDefault)
    , m_ink(this)
{
    resize(kDefaultWidth, kDefaultHeight);
}

CNotesDlg::~CNotesDlg() = default;

void CNotesDlg::setVisible(bool bVisible)
{
    if (bVisible) {
        if (parentWidget() != nullptr)
            setGeometry(parentWidget()->window()->geometry());
        if (!m_bInitialised) {
            m_bInitialised = true;
            OnInitDialog();
        }
    }
    QDialog::setVisible(bVisible);
    if (bVisible)
        m_ink.setFocus(Qt::OtherFocusReason);
}

void CNotesDlg::OnInitDialog()
{
    setWindowTitle(GetResourceString(m_strings, QStringLiteral("RC_NOTESDLG_TITLE")));

    m_pToolBar = new CDialogToolBar(this, IDB_NOTES_TOOLBAR);
    m_pToolBar->AddButton(0, GetResourceString(m_strings, QStringLiteral("RC_NOTESDLG_SAVE")), ID_NOTES_SAVE);
    m_pToolBar->AddButton(1, GetResourceString(m_strings, QStringLiteral("RC_NOTESDLG_CANCEL")), ID_NOTES_CANCEL);
    m_pToolBar->AddButton(2, QString(), ID_NOTES_PENMODE, TRUE, m_bNotesPenDefault);
    m_pToolBar->AddButton(3, QString(), ID_NOTES_CLEARALL);
    connect(m_pToolBar, &CDialogToolBar::command, this, &CNotesDlg::OnCommand);

    // The ink control takes the client area above the bar at the bottom.
    const int nBarHeight = m_pToolBar->sizeHint().height();
    m_ink.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, RECT{0, 0, width(), std::max(0, height() - nBarHeight)}, this,
                 kInkCtrlId);
    m_ink.SetUnreadableText(UnreadableNotesText(m_strings));
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    // The dialog takes the main window's size; the layout only divides it.
    pLayout->setSizeConstraint(QLayout::SetNoConstraint);
    pLayout->addWidget(&m_ink, 1);
    pLayout->addWidget(m_pToolBar);

    if (m_pNotes != nullptr)
        StreamNotesIn(&m_ink, *m_pNotes);
    ApplySettingsOfButton();
}

int CNotesDlg::OnCommand(int nId)
{
    switch (nId) {
    case IDOK:
    case ID_NOTES_SAVE:
        OnSave();
        return 1;
    case IDCANCEL:
    case ID_NOTES_CANCEL:
        done(IDCANCEL);
        return 1;
    case ID_NOTES_PENMODE:
        ApplySettingsOfButton();
        return 1;
    case ID_NOTES_CLEARALL:
        OnClearAll();
        return 1;
    default:
        return 0;
    }
}

void CNotesDlg::reject()
{
    done(IDCANCEL);
}

void CNotesDlg::OnSave()
{
    if (m_pNotes != nullptr)
        StreamNotesOut(&m_ink, m_pNotes);
    done(IDOK);
}

void CNotesDlg::OnClearAll()
{
    const int nAnswer = MessageBox(GetResourceString(m_strings, QStringLiteral("RC_COMMON_CONFIRM_CLEARALL")),
                                   GetResourceString(m_strings, QStringLiteral("RC_COMMON_PRODUCT_TITLE")),
                                   MB_YESNO | MB_ICONQUESTION);
    if (nAnswer != IDYES)
        return;
    m_ink.ClearAll();
    ApplySettingsOfButton();
}

void CNotesDlg::ApplySettingsOfButton()
{
    const BOOL bPen = m_pToolBar != nullptr ? m_pToolBar->IsButtonChecked(ID_NOTES_PENMODE) : m_bNotesPenDefault;
    m_ink.ApplyModeSettings(bPen ? kInkPenSettings : kInkKeyboardSettings);
}
