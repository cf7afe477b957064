#pragma once
// Base of the custom windows: a widget with a control id and an optional owner, the
// window that receives its notifications (the parent when no owner is set).
#include "controls/Notify.h"
#include "platform/WinTypes.h"
#include <QPointer>
#include <QWidget>
#include <functional>

class QPainter;

// Window styles the owners pass to Create.
constexpr DWORD WS_CHILD = 0x40000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_TABSTOP = 0x00010000u;
constexpr DWORD WS_BORDER = 0x00800000u;
constexpr DWORD WS_VSCROLL = 0x00200000u;

class CWnd : public QWidget {
    Q_OBJECT
public:
    explicit CWnd(QWidget* pParent = nullptr);
    ~CWnd() override;

    // Makes this a child of pParentWnd at rect with control id nId; WS_VISIBLE shows it.
    // Each control sets its own focus policy: a pen tap focuses only a control that asks.
    BOOL Create(DWORD dwStyle, const RECT& rect, QWidget* pParentWnd, int nId);

    int GetDlgCtrlID() const { return m_nCtrlId; }
    void SetDlgCtrlID(int nId) { m_nCtrlId = nId; }
    // Once an owner is set, notifications go to it alone: none are sent after it is gone.
    void SetOwner(QWidget* pOwner)
    {
        m_pOwner = pOwner;
        m_bHasOwner = pOwner != nullptr;
    }
    QWidget* GetOwner() const { return m_pOwner; }

    // Fills hwndFrom and idFrom and delivers the record to the owner, else the parent;
    // returns the receiver's answer, 0 when nothing was delivered.
    intptr_t SendNotify(NMHDR* pHdr, unsigned nCode);

protected:
    // Paints through an image of the client size at the screen's pixel density (so text
    // stays sharp on dense screens), then copies it to the window in one go.
    void PaintBuffered(const std::function<void(QPainter*)>& fnPaint);

private:
    int m_nCtrlId = 0;
    QPointer<QWidget> m_pOwner;
    bool m_bHasOwner = false;
};
