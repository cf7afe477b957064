#pragma once
// A property sheet as the handheld shows it: the caption at the top, the pages with their
// tabs along the bottom, and below them the command area: either the sheet's own tool bar
// (pictures from bitmap 219 with texts) or the soft-key bar. The sheet covers the main
// window. Enter sends command 1 and Escape command 2, as the platform's dialog manager
// sends IDOK and IDCANCEL for those keys; closing the window is command 2 too.
//
// The sheet is built, given its pages, then run with DoModal (or shown). Its opening steps
// (OnInitDialog) run when it is first shown.
#include "platform/MessageBox.h"
#include "platform/WinTypes.h"
#include <QDialog>
#include <QString>
#include <QVector>

class CPropertyPage;
class QLabel;
class QTabWidget;
class CDialogToolBar;
class QToolButton;
class StringTable;

// A button of the sheet's tool bar: picture nImage of the bitmap, the text beside it.
struct SheetToolButton {
    int nImage = 0;
    QString strText;
    int nCommand = 0;
};

// A key of the soft-key bar that sends its command when tapped.
struct SheetSoftKey {
    QString strText;
    int nCommand = 0;
};

constexpr int IDB_SHEET_TOOLBAR = 219;
constexpr int ID_SHEET_OK = 1;      // IDOK: Enter
constexpr int ID_SHEET_CANCEL = 2;  // IDCANCEL: Escape

class CPropertySheet : public QDialog {
    Q_OBJECT
public:
    // pParent: the main window, whose place and size the sheet takes.
    CPropertySheet(const QString& strCaption, const StringTable* pStrings, QWidget* pParent);
    ~CPropertySheet() override;

    // Adds a page (the sheet takes it over); pages are shown in the order added.
    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nIndex) const;
    // The index of the shown page, and showing another one; FALSE for an unknown index.
    int GetActiveIndex() const;
    BOOL SetActivePage(int nIndex);
    const QString& GetCaption() const { return m_strCaption; }

    // Runs the sheet modally; the result is the command that ended it (IDOK or IDCANCEL).
    int DoModal();
    // A command of the bar, Enter (1) or Escape (2). Returns TRUE when it was handled.
    virtual BOOL OnCommand(int nId);

    // The command area, once the sheet has opened: exactly one of them exists.
    CDialogToolBar* GetToolBar() const { return m_pToolBar; }
    QWidget* GetSoftKeyBar() const { return m_pSoftKeyBar; }
    // The bar's button or key of a command, or null.
    QToolButton* GetCommandButton(int nCommand) const;
    QTabWidget* GetTabWidget() const { return m_pTabs; }

protected:
    // The sheet's own opening steps: the command area. Pages open when first shown.
    virtual void OnInitDialog() = 0;
    void CreateToolBar(const QVector<SheetToolButton>& buttons);
    void CreateSoftKeyBar(const QVector<SheetSoftKey>& keys);
    void EndDialog(int nResult);
    QString LoadString(const char* pszKey) const;

    void keyPressEvent(QKeyEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void reject() override;

private:
    void PlaceControls();

    QString m_strCaption;
    const StringTable* m_pStrings;
    QVector<CPropertyPage*> m_pages;
    QLabel* m_pTitle = nullptr;
    QTabWidget* m_pTabs = nullptr;
    CDialogToolBar* m_pToolBar = nullptr;
    QWidget* m_pSoftKeyBar = nullptr;
    QVector<QToolButton*> m_softKeys;
    bool m_bInitDone = false;
};
