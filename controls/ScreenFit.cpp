#include "controls/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// Fits its window once the window is shown, where Qt has placed it.
class CScreenFitFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Show && pWatched->isWidgetType())
            FitWindowOnScreen(static_cast<QWidget*>(pWatched));
        return QObject::eventFilter(pWatched, pEvent);
    }
};

}  // namespace

QRect FitRectInto(const QRect& rc, const QRect& area)
{
    const int nWidth = std::min(rc.width(), area.width());
    const int nHeight = std::min(rc.height(), area.height());
    const int nLeft = std::clamp(rc.left(), area.left(), area.left() + area.width() - nWidth);
    const int nTop = std::clamp(rc.top(), area.top(), area.top() + area.height() - nHeight);
    return QRect(nLeft, nTop, nWidth, nHeight);
}

void FitWindowOnScreen(QWidget* pWindow)
{
    const QRect frame = pWindow->frameGeometry();
    QScreen* pScreen = QGuiApplication::screenAt(frame.center());
    if (pScreen == nullptr)
        pScreen = pWindow->screen() != nullptr ? pWindow->screen() : QGuiApplication::primaryScreen();
    if (pScreen == nullptr)
        return;
    const QRect area = pScreen->availableGeometry();
    const QRect fitted = FitRectInto(frame, area);
    if (fitted == frame)
        return;
    // The frame's borders are kept; only the window's own size is set.
    const QSize border = frame.size() - pWindow->size();
    const QSize size = fitted.size() - border;
    pWindow->setMinimumSize(std::min(pWindow->minimumWidth(), size.width()),
                            std::min(pWindow->minimumHeight(), size.height()));
    pWindow->setGeometry(QRect(fitted.topLeft() + (pWindow->geometry().topLeft() - frame.topLeft()), size));
}

void KeepWindowOnScreen(QWidget* pWindow)
{
    pWindow->installEventFilter(new CScreenFitFilter(pWindow));
}
