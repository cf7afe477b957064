#pragma once
// The soft-key menu bar (menu resource 128) as a bar of two menu buttons along the
// bottom of the main window: "새항목" (new item) and "Tools". Each menu item reports its
// command id through command().
#include <QHash>
#include <QWidget>

class QMenu;
class QToolButton;

constexpr int IDM_SOFTKEY_NEW = 401;    // the left bar button
constexpr int IDM_SOFTKEY_TOOLS = 402;  // the right bar button, shown as "Tools"
constexpr int kSoftKeyBarHeight = 26;

class CSoftKeyBar : public QWidget {
    Q_OBJECT
public:
    explicit CSoftKeyBar(QWidget* pParent);

    // Sets the text of a bar button by its id (IDM_SOFTKEY_NEW or IDM_SOFTKEY_TOOLS).
    bool SetButtonText(int nButtonId, const QString& strText);
    QToolButton* GetButton(int nButtonId) const;
    // The popup of a bar button.
    QMenu* GetMenu(int nButtonId) const;

signals:
    void command(int nId);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    QToolButton* AddButton(const QString& strText, QMenu* pMenu);
    void AddItem(QMenu* pMenu, const QString& strText, int nId);

    QToolButton* m_pNewButton = nullptr;
    QToolButton* m_pToolsButton = nullptr;
    QHash<const QToolButton*, QMenu*> m_menus;
};
