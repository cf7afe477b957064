#include "ink/CInkWnd.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace {

// The chunk size the control reads and writes its streams in.
constexpr int32_t kStreamChunk = 4096;

}  // namespace

CInkWnd::CInkWnd(QWidget* pParent)
    : CWnd(pParent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CInkWnd::~CInkWnd() = default;

CInkCanvas* CInkWnd::CreateInner(QWidget* pParent)
{
    return new CInkCanvas(pParent);
}

BOOL CInkWnd::Create(DWORD dwStyle, const RECT& rect, QWidget* pParentWnd, int nId)
{
    if (m_pInner == nullptr && m_pScrollBar == nullptr) {
        m_bBorder = (dwStyle & WS_BORDER) != 0;
        if (dwStyle & WS_VSCROLL)
            m_pScrollBar = new QScrollBar(Qt::Vertical, this);
        m_pInner = CreateInner(this);
        if (m_pInner != nullptr) {
            m_pInner->SetScrollBar(m_pScrollBar);
            setFocusProxy(m_pInner);
        }
    }
    if (!CWnd::Create(dwStyle, rect, pParentWnd, nId))
        return FALSE;
    PlaceChildren();
    return TRUE;
}

void CInkWnd::PlaceChildren()
{
    const QRect rcInside = m_bBorder ? rect().adjusted(1, 1, -1, -1) : rect();
    int nBarWidth = 0;
    if (m_pScrollBar != nullptr) {
        nBarWidth = std::min(m_pScrollBar->sizeHint().width(), rcInside.width());
        m_pScrollBar->setGeometry(rcInside.right() + 1 - nBarWidth, rcInside.top(), nBarWidth, rcInside.height());
    }
    if (m_pInner != nullptr)
        m_pInner->setGeometry(rcInside.left(), rcInside.top(), rcInside.width() - nBarWidth, rcInside.height());
}

void CInkWnd::resizeEvent(QResizeEvent* pEvent)
{
    CWnd::resizeEvent(pEvent);
    PlaceChildren();
}

void CInkWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_bBorder) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

int CInkWnd::StreamIn(DWORD, EDITSTREAM* pStream)
{
    if (m_pInner == nullptr || pStream == nullptr || pStream->pfnCallback == nullptr)
        return 0;
    QByteArray bytes;
    QByteArray chunk(kStreamChunk, '\0');
    pStream->dwError = 0;
    for (;;) {
        int32_t nGot = 0;
        const DWORD dwError = pStream->pfnCallback(pStream->dwCookie, reinterpret_cast<uint8_t*>(chunk.data()),
                                                   kStreamChunk, &nGot);
        if (dwError != 0) {
            // A failed read leaves the content as it was.
            pStream->dwError = dwError;
            return 0;
        }
        if (nGot <= 0)
            break;
        bytes.append(chunk.constData(), std::min(nGot, kStreamChunk));
    }
    m_pInner->Load(bytes);
    return static_cast<int>(bytes.size());
}

int CInkWnd::StreamOut(DWORD, EDITSTREAM* pStream)
{
    if (m_pInner == nullptr || pStream == nullptr || pStream->pfnCallback == nullptr)
        return 0;
    QByteArray bytes = m_pInner->Save();
    pStream->dwError = 0;
    qsizetype nPos = 0;
    while (nPos < bytes.size()) {
        const int32_t nChunk = static_cast<int32_t>(std::min<qsizetype>(kStreamChunk, bytes.size() - nPos));
        int32_t nTaken = 0;
        const DWORD dwError = pStream->pfnCallback(pStream->dwCookie, reinterpret_cast<uint8_t*>(bytes.data() + nPos),
                                                   nChunk, &nTaken);
        if (dwError != 0) {
            pStream->dwError = dwError;
            break;
        }
        nPos += nChunk;
    }
    return static_cast<int>(nPos);
}

int CInkWnd::ClearAll()
{
    if (m_pInner == nullptr)
        return 0;
    m_pInner->Clear();
    return 1;
}

int CInkWnd::SetInputMode(int nMode)
{
    if (m_pInner == nullptr)
        return 0;
    m_pInner->SetInputMode(nMode);
    return 1;
}

int CInkWnd::SetViewMode(int nView)
{
    if (m_pInner == nullptr)
        return 0;
    m_pInner->SetViewMode(nView);
    return 1;
}

int CInkWnd::SetPageStyle(int nStyle)
{
    if (m_pInner == nullptr)
        return 0;
    m_pInner->SetPageStyle(nStyle);
    return 1;
}

int CInkWnd::SetZoom(int nZoom)
{
    if (m_pInner == nullptr)
        return 0;
    m_pInner->SetZoom(nZoom);
    return 1;
}

void CInkWnd::ApplyModeSettings(const InkModeSettings& settings)
{
    SetInputMode(settings.nInputMode);
    SetViewMode(settings.nView);
    SetPageStyle(settings.nPageStyle);
    SetZoom(settings.nZoom);
}

void CInkWnd::SetReadOnly(BOOL bReadOnly)
{
    if (m_pInner != nullptr)
        m_pInner->SetReadOnly(bReadOnly);
}

void CInkWnd::SetUnreadableText(const QString& strText)
{
    if (m_pInner != nullptr)
        m_pInner->SetUnreadableText(strText);
}

BOOL CInkWnd::IsForeign() const
{
    return m_pInner != nullptr && m_pInner->GetPage().IsForeign();
}
