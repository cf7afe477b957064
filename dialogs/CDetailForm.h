#pragma once
// What the store's two detail forms share: a modal dialog over the main window at its
// size, the fields in a scroll area of label and field rows, the reminder and body text
// rows, a message line for bad input and the bottom tool bar with Save (command 1) and
// Cancel (command 2); Enter and Escape are those commands. Save writes the item through
// the object model only when every check passes; a message in the form says what is
// wrong otherwise.
#include "dialogs/DetailFormContext.h"
#include "platform/WinTypes.h"
#include <QDialog>

class IPOutlookItem;
class QCheckBox;
class CDialogToolBar;
class QComboBox;
class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QScrollArea;

constexpr int IDC_FORM_SAVE = 1;
constexpr int IDC_FORM_CANCEL = 2;

class CDetailForm : public QDialog {
    Q_OBJECT
public:
    CDetailForm(const DetailFormContext& ctx, const char* pszTitleKey);

    // Save (1) or Cancel (2), as the tool bar and the keys give them.
    void OnCommand(int nId);
    // The message shown for bad input (empty while there is none).
    QString GetMessage() const;

    QCheckBox* ReminderCheck() const { return m_pReminder; }
    QComboBox* ReminderCombo() const { return m_pReminderMinutes; }
    QPlainTextEdit* BodyEdit() const { return m_pBody; }
    CDialogToolBar* ToolBar() const { return m_pToolBar; }
    QScrollArea* ScrollArea() const { return m_pScroll; }

protected:
    // Reads the controls, checks them and writes and saves the item. Returns the key of
    // the message for bad input (nothing written then), or an empty key once saved. A
    // question the user cancelled gives kCancelledKey.
    virtual QString SaveItem() = 0;
    static const char* const kCancelledKey;

    QString Text(const char* pszKey) const;
    // A row of the grid: a label (from a key; none for a null key) and a field.
    void AddRow(const char* pszLabelKey, QWidget* pField);
    // A field across both columns.
    void AddWideRow(QWidget* pField);
    // The reminder row: bWithMinutes adds the minutes-before list.
    void AddReminderRow(bool bWithMinutes);
    void AddBodyRow();
    // Notes that are not the program's own (another program's, or a newer version's) are
    // not shown: the body stays empty and says so, and Save leaves them alone unless the
    // person writes a body.
    void LoadReminderAndBody(IPOutlookItem* pItem, BOOL bReminderSet, int nMinutes);
    // Whether the person changed the body text since it was loaded.
    bool BodyChanged() const;
    // The minutes typed or chosen; false when the text is not a usable number.
    bool ReadReminderMinutes(int* pnMinutes) const;
    // Asks before Save drops stored exceptions of the item's series; false to stop.
    bool ConfirmDroppedExceptions(IPOutlookItem* pItem) const;
    QWidget* Page() const { return m_pPage; }
    const DetailFormContext& Context() const { return m_ctx; }

    void keyPressEvent(QKeyEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    // A field that has no focus lets the wheel scroll the form instead of changing it.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void ShowMessage(const QString& strKey);

    DetailFormContext m_ctx;
    QScrollArea* m_pScroll = nullptr;
    QWidget* m_pPage = nullptr;
    QGridLayout* m_pGrid = nullptr;
    QLabel* m_pMessage = nullptr;
    CDialogToolBar* m_pToolBar = nullptr;
    QCheckBox* m_pReminder = nullptr;
    QComboBox* m_pReminderMinutes = nullptr;
    QPlainTextEdit* m_pBody = nullptr;
    QString m_strLoadedBody;  // the body as loaded; empty for notes that are not shown
};
