#include "app/CSoftKeyBar.h"
#include "resources/UiLanguage.h"
#include "app/MainCommands.h"
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include "controls/SoftKey.h"

CSoftKeyBar::CSoftKeyBar(QWidget* pParent)
    : QWidget(pParent)
{
    // Menu resource 128; its texts are the resource's own.
    auto* pNewMenu = new QMenu(this);
    AddItem(pNewMenu, UiText(QStringLiteral("&1. 일정추가..."), QStringLiteral("&1. New appointment...")), ID_NEW_APPOINTMENT);
    AddItem(pNewMenu, UiText(QStringLiteral("&2. 작업추가..."), QStringLiteral("&2. New task...")), ID_NEW_TASK);
    auto* pMainMenu = new QMenu(this);
    AddItem(pMainMenu, UiText(QStringLiteral("&1. 오늘날짜로"), QStringLiteral("&1. Go to today")), ID_GOTO_TODAY);
    pMainMenu->addSeparator();
    AddItem(pMainMenu, UiText(QStringLiteral("&2. 삭제..."), QStringLiteral("&2. Delete...")), ID_DELETE_ITEM);
    pMainMenu->addSeparator();
    AddItem(pMainMenu, UiText(QStringLiteral("&3. 설정..."), QStringLiteral("&3. Options...")), ID_OPTIONS);
    AddItem(pMainMenu, UiText(QStringLiteral("&4. 정보..."), QStringLiteral("&4. About...")), ID_APP_ABOUT);
    AddItem(pMainMenu, UiText(QStringLiteral("&5. 종료"), QStringLiteral("&5. Exit")), ID_APP_EXIT);
    m_pNewButton = AddButton(UiText(QStringLiteral("새항목"), QStringLiteral("New")), pNewMenu);
    m_pToolsButton = AddButton(UiText(QStringLiteral("메뉴"), QStringLiteral("Menu")), pMainMenu);
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
    StyleSoftKey(pButton);
    m_menus.insert(pButton, pMenu);
    connect(pButton, &QToolButton::clicked, this, [pMenu, pButton]() { PopUpAbove(pMenu, pButton); });
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
    return m_menus.value(GetButton(nButtonId), nullptr);
}

bool CSoftKeyBar::SetButtonText(int nButtonId, const QString& strText)
{
    QToolButton* pButton = GetButton(nButtonId);
    if (pButton == nullptr)
        return false;
    pButton->setText(strText);
    pButton->setToolTip(QString(strText).remove(QLatin1Char('&')));
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
