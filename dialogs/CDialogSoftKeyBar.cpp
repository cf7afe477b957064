#include "dialogs/CDialogSoftKeyBar.h"
#include "resources/UiLanguage.h"
#include "dialogs/EditorIds.h"
#include "controls/SoftKey.h"
#include <QMenu>
#include <QPainter>
#include <QToolButton>

namespace {

const QColor kBarColor(40, 40, 40);
const QColor kDividerColor(90, 90, 90);
constexpr int kDividerInset = 4;

}  // namespace

CDialogSoftKeyBar::CDialogSoftKeyBar(QWidget* pParent)
    : QWidget(pParent)
{
    resize(width(), kDialogSoftKeyBarHeight);
}

QToolButton* CDialogSoftKeyBar::AddKey(const QString& strText)
{
    auto* pKey = new QToolButton(this);
    pKey->setText(strText);
    StyleSoftKey(pKey);
    m_keys.push_back(pKey);
    return pKey;
}

QToolButton* CDialogSoftKeyBar::AddCommandKey(const QString& strText, int nCommand)
{
    QToolButton* pKey = AddKey(strText);
    connect(pKey, &QToolButton::clicked, this, [this, nCommand]() { emit command(nCommand); });
    return pKey;
}

QToolButton* CDialogSoftKeyBar::AddMenuKey(const QString& strText, const QVector<SoftKeyMenuItem>& items)
{
    QToolButton* pKey = AddKey(strText);
    auto* pMenu = new QMenu(this);
    for (const SoftKeyMenuItem& item : items) {
        if (item.nCommand == 0) {
            pMenu->addSeparator();
            continue;
        }
        QAction* pAction = pMenu->addAction(item.strText);
        pAction->setData(item.nCommand);
        const int nCommand = item.nCommand;
        connect(pAction, &QAction::triggered, this, [this, nCommand]() { emit command(nCommand); });
    }
    m_menus.insert(pKey, pMenu);
    connect(pKey, &QToolButton::clicked, this, [pMenu, pKey]() { PopUpAbove(pMenu, pKey); });
    return pKey;
}

QToolButton* CDialogSoftKeyBar::GetKey(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_keys.size() ? m_keys[nIndex] : nullptr;
}

QMenu* CDialogSoftKeyBar::GetMenu(int nIndex) const
{
    return m_menus.value(GetKey(nIndex), nullptr);
}

void CDialogSoftKeyBar::resizeEvent(QResizeEvent*)
{
    if (m_keys.isEmpty())
        return;
    const int nWidth = width() / static_cast<int>(m_keys.size());
    for (int i = 0; i < m_keys.size(); ++i) {
        const int nRight = i + 1 == m_keys.size() ? width() : (i + 1) * nWidth;
        m_keys[i]->setGeometry(i * nWidth, 0, nRight - i * nWidth, height());
    }
}

void CDialogSoftKeyBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBarColor);
    painter.setPen(kDividerColor);
    for (int i = 1; i < m_keys.size(); ++i) {
        const int x = m_keys[i]->x();
        painter.drawLine(x, kDividerInset, x, height() - 1 - kDividerInset);
    }
}

void AddEditorSoftKeys(CDialogSoftKeyBar* pBar)
{
    // The texts are the menu resource's own.
    pBar->AddCommandKey(UiText(QStringLiteral("저장"), QStringLiteral("Save")), ID_EDITOR_SAVE);
    pBar->AddMenuKey(UiText(QStringLiteral("메뉴"), QStringLiteral("Menu")), {{UiText(QStringLiteral("&1. 자세히 편집.."), QStringLiteral("&1. Edit details..")), ID_EDIT_DETAIL},
                                             {UiText(QStringLiteral("&2. 노트 편집..."), QStringLiteral("&2. Edit notes...")), ID_EDIT_NOTES},
                                             {QString(), 0},
                                             {UiText(QStringLiteral("&3. 취소"), QStringLiteral("&3. Cancel")), ID_EDITOR_CANCEL}});
}
