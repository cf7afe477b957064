#include "controls/SoftKey.h"

#include <QMenu>
#include <QToolButton>

void StyleSoftKey(QToolButton* pKey)
{
    pKey->setToolButtonStyle(Qt::ToolButtonTextOnly);
    pKey->setAutoRaise(true);
    pKey->setFocusPolicy(Qt::NoFocus);
    pKey->setToolTip(pKey->text().remove(QLatin1Char('&')));
    pKey->setStyleSheet(QStringLiteral("QToolButton { color: white; font-weight: bold; border: none; }"
                                       " QToolButton:hover, QToolButton:pressed { background: #505050; }"
                                       " QToolButton::menu-indicator { image: none; }"));
}

void PopUpAbove(QMenu* pMenu, QToolButton* pKey)
{
    const QPoint ptTop = pKey->mapToGlobal(QPoint(0, 0));
    pMenu->exec(QPoint(ptTop.x(), ptTop.y() - pMenu->sizeHint().height()));
    pKey->setDown(false);
}
