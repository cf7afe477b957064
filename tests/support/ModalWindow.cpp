#include "tests/support/ModalWindow.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

void WhenModal(const std::function<void(QWidget*)>& fn)
{
    auto* pTimer = new QTimer;
    pTimer->setInterval(10);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, fn]() {
        QWidget* pModal = QApplication::activeModalWidget();
        if (pModal == nullptr)
            return;
        pTimer->stop();
        pTimer->deleteLater();
        fn(pModal);
    });
    pTimer->start();
}
