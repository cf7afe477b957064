#include "dialogs/CPropertySheet.h"
#include "dialogs/CDialogToolBar.h"
#include "dialogs/CPropertyPage.h"
#include "resources/StringTable.h"
#include <QHBoxLayout>
#include <algorithm>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

namespace {

constexpr int kDialogFontPixels = 11;
constexpr int kDefaultWidth = 240;   // the handheld's screen, when there is no main window
constexpr int kDefaultHeight = 320;
constexpr int kTitleHeight = 24;
constexpr int kToolButtonHeight = 22;
constexpr int kSoftKeyBarHeight = 26;
const QColor kSoftKeyBarColor(40, 40, 40);
const char* const kCommandProperty = "sheetCommand";

}  // namespace

CPropertySheet::CPropertySheet(const QString& strCaption, const StringTable* pStrings, QWidget* pParent)
    : QDialog(pParent)
    , m_strCaption(strCaption)
    , m_pStrings(pStrings)
{
    setWindowTitle(strCaption);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(kDialogFontPixels);
    setFont(font);
    m_pTitle = new QLabel(strCaption, this);
    m_pTitle->setStyleSheet(QStringLiteral("QLabel { color: #0A3C8C; font-weight: bold; padding-left: 6px;"
                                           " border-bottom: 1px solid #A0A0A0; }"));
    m_pTabs = new QTabWidget(this);
    m_pTabs->setTabPosition(QTabWidget::South);
    m_pTabs->setFocusPolicy(Qt::NoFocus);
    if (pParent != nullptr)
        setGeometry(pParent->window()->geometry());
    else
        resize(kDefaultWidth, kDefaultHeight);
}

CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    m_pages.push_back(pPage);
    m_pTabs->addTab(pPage, pPage->GetTabCaption());
}

CPropertyPage* CPropertySheet::GetPage(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_pages.size() ? m_pages[nIndex] : nullptr;
}

int CPropertySheet::GetActiveIndex() const
{
    return m_pTabs->currentIndex();
}

BOOL CPropertySheet::SetActivePage(int nIndex)
{
    if (GetPage(nIndex) == nullptr)
        return FALSE;
    m_pTabs->setCurrentIndex(nIndex);
    return TRUE;
}

int CPropertySheet::DoModal()
{
    return exec();
}

BOOL CPropertySheet::OnCommand(int nId)
{
    switch (nId) {
    case ID_SHEET_OK:
        EndDialog(IDOK);
        return TRUE;
    case ID_SHEET_CANCEL:
        EndDialog(IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

void CPropertySheet::EndDialog(int nResult)
{
    done(nResult);
}

QString CPropertySheet::LoadString(const char* pszKey) const
{
    return m_pStrings != nullptr ? GetResourceString(*m_pStrings, QString::fromLatin1(pszKey)) : QString();
}

QToolButton* CPropertySheet::GetCommandButton(int nCommand) const
{
    if (m_pToolBar != nullptr)
        return m_pToolBar->GetButton(nCommand);
    for (QToolButton* pButton : m_softKeys) {
        if (pButton->property(kCommandProperty).toInt() == nCommand)
            return pButton;
    }
    return nullptr;
}

void CPropertySheet::CreateToolBar(const QVector<SheetToolButton>& buttons)
{
    m_pToolBar = new CDialogToolBar(this, IDB_SHEET_TOOLBAR);
    m_pToolBar->setFocusPolicy(Qt::NoFocus);
    for (const SheetToolButton& button : buttons)
        m_pToolBar->AddButton(button.nImage, button.strText, button.nCommand);
    connect(m_pToolBar, &CDialogToolBar::command, this, [this](int nCommand) { OnCommand(nCommand); });
    m_pToolBar->show();
    PlaceControls();
}

void CPropertySheet::CreateSoftKeyBar(const QVector<SheetSoftKey>& keys)
{
    m_pSoftKeyBar = new QWidget(this);
    m_pSoftKeyBar->setAutoFillBackground(true);
    QPalette palette = m_pSoftKeyBar->palette();
    palette.setColor(QPalette::Window, kSoftKeyBarColor);
    m_pSoftKeyBar->setPalette(palette);
    auto* pLayout = new QHBoxLayout(m_pSoftKeyBar);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    for (const SheetSoftKey& key : keys) {
        auto* pKey = new QToolButton(m_pSoftKeyBar);
        pKey->setText(key.strText);
        pKey->setToolButtonStyle(Qt::ToolButtonTextOnly);
        pKey->setAutoRaise(true);
        pKey->setFocusPolicy(Qt::NoFocus);
        pKey->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        pKey->setStyleSheet(QStringLiteral("QToolButton { color: white; font-weight: bold; }"));
        pKey->setProperty(kCommandProperty, key.nCommand);
        const int nCommand = key.nCommand;
        connect(pKey, &QToolButton::clicked, this, [this, nCommand]() { OnCommand(nCommand); });
        pLayout->addWidget(pKey);
        m_softKeys.push_back(pKey);
    }
    m_pSoftKeyBar->show();
    PlaceControls();
}

void CPropertySheet::PlaceControls()
{
    int nBarTop = height();
    // The bar lies over the bottom edge and stays in front of the pages.
    if (m_pToolBar != nullptr) {
        const int nBarHeight = std::max(kToolButtonHeight, m_pToolBar->sizeHint().height());
        nBarTop -= nBarHeight;
        m_pToolBar->setGeometry(0, nBarTop, width(), nBarHeight);
        m_pToolBar->raise();
    } else if (m_pSoftKeyBar != nullptr) {
        nBarTop -= kSoftKeyBarHeight;
        m_pSoftKeyBar->setGeometry(0, nBarTop, width(), kSoftKeyBarHeight);
        m_pSoftKeyBar->raise();
    }
    m_pTitle->setGeometry(0, 0, width(), kTitleHeight);
    m_pTabs->setGeometry(0, kTitleHeight, width(), std::max(0, nBarTop - kTitleHeight));
}

void CPropertySheet::keyPressEvent(QKeyEvent* pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnCommand(ID_SHEET_OK);
        return;
    case Qt::Key_Escape:
        OnCommand(ID_SHEET_CANCEL);
        return;
    default:
        QDialog::keyPressEvent(pEvent);
    }
}

void CPropertySheet::reject()
{
    // The window's close button.
    OnCommand(ID_SHEET_CANCEL);
}

void CPropertySheet::showEvent(QShowEvent* pEvent)
{
    if (!m_bInitDone) {
        m_bInitDone = true;
        OnInitDialog();
        PlaceControls();
    }
    QDialog::showEvent(pEvent);
}

void CPropertySheet::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    PlaceControls();
}
