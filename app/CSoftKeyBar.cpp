#include "app/CSoftKeyBar.h"
#include "app/MainCommands.h"
#include <QMenu>
#include <QPainter>
#include <QToolButton>

CSoftKeyBar::CSoftKeyBar(QWidget* pParent)
    : QWidget(pParent)
{
    // Menu resource 128; its texts are the resource's own.
    auto* pNewMenu = new QMenu(this);
    AddItem(pNewMenu, QStringLiteral("&1. 일정추가..."), ID_NEW_APPOINTMENT);
    AddItem(pNewMenu, QStringLiteral("&2. 작업추가..."), ID_NEW_TASK);
    auto* pMainMenu = new QMenu(this);
    AddItem(pMainMenu, QStringLiteral("&1. 오늘날짜로"), ID_GOTO_TODAY);
    pMainMenu->addSeparator();
    AddItem(pMainMenu, QStringLiteral("&2. 삭제..."), ID_DELETE_ITEM);
    pMainMenu->addSeparator();
    AddItem(pMainMenu, QStringLiteral("&3. 설정..."), ID_OPTIONS);
    AddItem(pMainMenu, QStringLiteral("&4. 정보..."), ID_APP_ABOUT);
    AddItem(pMainMenu, QStringLiteral("&5. 종료"), ID_APP_EXIT);
    m_pNewButton = AddButton(QStringLiteral("새항목"), pNewMenu);
    m_pToolsButton = AddButton(QStringLiteral("메뉴"), pMainMenu);
    resize(width(), kSoftKeyBarHeight);
}

void CSoftKeyBar::AddItem(QMenu* pMenu, const QString& strText, int nId)
{
    QAction* pAction = pMenu->addAction(strText);
    connect(pAction, &QAction::triggered, this, [this, nId]() { emit command(nId); });
}

QToolButton* CSoftKeyBar::AddButton(const QString& strText, QMenu* pMenu)
{
    auto* pButton = new QToolButton(this);
    pButton->setText(strText);
    pButton->setMenu(pMenu);
    pButton->setPopupMode(QToolButton::InstantPopup);
    pButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    pButton->setAutoRaise(true);
    pButton->setFocusPolicy(Qt::NoFocus);
    pButton->setStyleSheet(QStringLiteral("QToolButton { color: white; font-weight: bold; }"
                                          " QToolButton::menu-indicator { image: none; }"));
    return pButton;
}

QToolButton* CSoftKeyBar::GetButton(int nButtonId) const
{
    if (nButtonId == IDM_SOFTKEY_NEW)
        return m_pNewButton;
    if (nButtonId == IDM_SOFTKEY_TOOLS)
        return m_pToolsButton;
    return nullptr;
}

QMenu* CSoftKeyBar::GetMenu(int nButtonId) const
{
    const QToolButton* pButton = GetButton(nButtonId);
    return pButton != nullptr ? pButton->menu() : nullptr;
}

bool CSoftKeyBar::SetButtonText(int nButtonId, const QString& strText)
{
    QToolButton* pButton = GetButton(nButtonId);
    if (pButton == nullptr)
        return false;
    pButton->setText(strText);
    return true;
}

void CSoftKeyBar::resizeEvent(QResizeEvent*)
{
    const int nHalf = width() / 2;
    m_pNewButton->setGeometry(0, 0, nHalf, height());
    m_pToolsButton->setGeometry(nHalf, 0, width() - nHalf, height());
}

void CSoftKeyBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(40, 40, 40));
    painter.setPen(QColor(90, 90, 90));
    painter.drawLine(width() / 2, 4, width() / 2, height() - 5);
}
