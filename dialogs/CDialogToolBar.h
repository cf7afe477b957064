#pragma once
// The command bar along the bottom of a dialog: a tool bar whose buttons take their
// 16 x 16 pictures from one bitmap resource (picture i at x = 16 i), each at least
// 23 x 22 pixels and as wide as its text needs. A press reports the button's command
// through command(); a two-state button changes its state first.
#include "platform/WinTypes.h"
#include <QImage>
#include <QToolBar>

class QToolButton;

class CDialogToolBar : public QToolBar {
    Q_OBJECT
public:
    // nBitmapId: the bitmap resource with the button pictures side by side.
    CDialogToolBar(QWidget* pParent, int nBitmapId);
    ~CDialogToolBar() override;

    // Appends an enabled button with picture nImage and the text (may be empty).
    QToolButton* AddButton(int nImage, const QString& strText, int nCommand, BOOL bTwoState = FALSE,
                           BOOL bPressed = FALSE);
    // The first button with this command; null when there is none.
    QToolButton* GetButton(int nCommand) const;
    // 1 while the two-state button of this command is pressed, else 0.
    int IsButtonChecked(int nCommand) const;

signals:
    void command(int nCommand);

private:
    QImage m_imgButtons;
};
