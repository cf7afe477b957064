#pragma once
// The soft-key menu bar of a dialog: two keys along the bottom edge, each either a
// command of its own or a popup menu of commands. Every command is reported through
// command().
#include <QString>
#include <QHash>
#include <QVector>
#include <QWidget>

class QMenu;
class QToolButton;

struct SoftKeyMenuItem {
    QString strText;   // ignored for a separator
    int nCommand = 0;  // 0: a separator
};

constexpr int kDialogSoftKeyBarHeight = 26;

class CDialogSoftKeyBar : public QWidget {
    Q_OBJECT
public:
    explicit CDialogSoftKeyBar(QWidget* pParent);

    // Adds a key that sends nCommand when tapped.
    QToolButton* AddCommandKey(const QString& strText, int nCommand);
    // Adds a key that opens a popup menu of these items.
    QToolButton* AddMenuKey(const QString& strText, const QVector<SoftKeyMenuItem>& items);

    // Key 0 is the left one.
    QToolButton* GetKey(int nIndex) const;
    // The popup of a key, or null for a command key.
    QMenu* GetMenu(int nIndex) const;
    int GetKeyCount() const { return static_cast<int>(m_keys.size()); }

signals:
    void command(int nId);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    QToolButton* AddKey(const QString& strText);

    QVector<QToolButton*> m_keys;
    QHash<const QToolButton*, QMenu*> m_menus;  // the menu keys' menus
};

// Menu resource 235 of the appointment and task editors: the left key "저장" (Save), the
// right key "메뉴" with edit in detail, edit notes and cancel.
void AddEditorSoftKeys(CDialogSoftKeyBar* pBar);
