#include "controls/CBitmapButtonEx.h"
#include "controls/BitmapDraw.h"
#include <QPainter>

CBitmapButtonEx::CBitmapButtonEx(QWidget* pParent)
    : QAbstractButton(pParent)
{
    // Tapping a button must not take the focus (and the drawn selection) from the list.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(this, &QAbstractButton::clicked, this, [this]() { emit command(m_nCtrlId); });
}

CBitmapButtonEx::~CBitmapButtonEx() = default;

BOOL CBitmapButtonEx::LoadBitmaps(int nNormalId, int nPressedId)
{
    const QImage* pNormal = GetBitmapResource(nNormalId);
    const QImage* pPressed = GetBitmapResource(nPressedId);
    m_imgNormal = pNormal != nullptr ? *pNormal : QImage();
    m_imgPressed = pPressed != nullptr ? *pPressed : QImage();
    update();
    return pNormal != nullptr;
}

void CBitmapButtonEx::SizeToContent()
{
    if (!m_imgNormal.isNull())
        resize(m_imgNormal.size());
}

QSize CBitmapButtonEx::sizeHint() const
{
    return m_imgNormal.isNull() ? QSize(16, 16) : m_imgNormal.size();
}

void CBitmapButtonEx::paintEvent(QPaintEvent* /*pEvent*/)
{
    QPainter painter(this);
    const bool bPressed = isDown() && !m_imgPressed.isNull();
    const QImage& image = bPressed ? m_imgPressed : m_imgNormal;
    if (image.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.drawImage(0, 0, image);
}
