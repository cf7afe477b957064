#include "dialogs/CDialogToolBar.h"
#include "platform/BitmapResource.h"

#include <QPixmap>
#include <QToolButton>

namespace {

constexpr int kImageSize = 16;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
const char* const kCommandProperty = "quilldayCommand";

}  // namespace

CDialogToolBar::CDialogToolBar(QWidget* pParent, int nBitmapId)
    : QToolBar(pParent)
{
    LoadBitmapResource(nBitmapId, &m_imgButtons);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(kImageSize, kImageSize));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

CDialogToolBar::~CDialogToolBar() = default;

QToolButton* CDialogToolBar::AddButton(int nImage, const QString& strText, int nCommand, BOOL bTwoState,
                                       BOOL bPressed)
{
    auto* pButton = new QToolButton(this);
    if (!m_imgButtons.isNull())
        pButton->setIcon(QPixmap::fromImage(m_imgButtons.copy(nImage * kImageSize, 0, kImageSize, kImageSize)));
    pButton->setText(strText);
    pButton->setToolButtonStyle(strText.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    pButton->setMinimumSize(kButtonWidth, kButtonHeight);
    pButton->setFocusPolicy(Qt::NoFocus);
    pButton->setCheckable(bTwoState);
    pButton->setChecked(bTwoState && bPressed);
    pButton->setProperty(kCommandProperty, nCommand);
    connect(pButton, &QToolButton::clicked, this, [this, nCommand] { emit command(nCommand); });
    addWidget(pButton);
    return pButton;
}

QToolButton* CDialogToolBar::GetButton(int nCommand) const
{
    for (QToolButton* pButton : findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        if (pButton->property(kCommandProperty).toInt() == nCommand)
            return pButton;
    }
    return nullptr;
}

int CDialogToolBar::IsButtonChecked(int nCommand) const
{
    const QToolButton* pButton = GetButton(nCommand);
    return pButton != nullptr && pButton->isCheckable() && pButton->isChecked() ? 1 : 0;
}
