#include "controls/CWnd.h"
#include <QImage>
#include <QPainter>

CWnd::CWnd(QWidget* pParent)
    : QWidget(pParent)
{
}

CWnd::~CWnd() = default;

BOOL CWnd::Create(DWORD dwStyle, const RECT& rect, QWidget* pParentWnd, int nId)
{
    if (pParentWnd != nullptr && parentWidget() != pParentWnd)
        setParent(pParentWnd);
    m_nCtrlId = nId;
    setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

intptr_t CWnd::SendNotify(NMHDR* pHdr, unsigned nCode)
{
    pHdr->hwndFrom = this;
    pHdr->idFrom = m_nCtrlId;
    pHdr->code = nCode;
    QWidget* pReceiver = m_bHasOwner ? m_pOwner.data() : parentWidget();
    return DeliverNotify(this, pReceiver, pHdr);
}

void CWnd::PaintBuffered(const std::function<void(QPainter*)>& fnPaint)
{
    const qreal dpr = devicePixelRatioF();
    QImage buffer(size() * dpr, QImage::Format_RGB32);
    buffer.setDevicePixelRatio(dpr);
    {
        QPainter painter(&buffer);
        fnPaint(&painter);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, buffer);
}
