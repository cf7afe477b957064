#pragma once
// A push button made of two bitmaps: the normal picture, and the pressed picture while
// the pen holds it down. It never takes the focus, so tapping it leaves the focus (and
// the selection drawn there) in the day list. clicked() carries the command.
#include <QAbstractButton>
#include <QImage>
#include "platform/WinTypes.h"

class CBitmapButtonEx : public QAbstractButton {
    Q_OBJECT
public:
    explicit CBitmapButtonEx(QWidget* pParent = nullptr);
    ~CBitmapButtonEx() override;

    // Loads the normal and the pressed picture; FALSE when the normal one does not load.
    BOOL LoadBitmaps(int nNormalId, int nPressedId);
    // The control id; clicked() is also reported as command(id).
    int GetDlgCtrlID() const { return m_nCtrlId; }
    void SetDlgCtrlID(int nId) { m_nCtrlId = nId; }
    // Resizes the button to its normal picture.
    void SizeToContent();
    QSize sizeHint() const override;

signals:
    void command(int nId);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    int m_nCtrlId = 0;
    QImage m_imgNormal;
    QImage m_imgPressed;
};
