#pragma once
// One page of a property sheet. Its controls are made the first time the page is shown
// (OnInitDialog); until then the page "has no window" and its members keep the values the
// sheet gave them. DoDataExchange moves the members to and from the controls.
#include "platform/WinTypes.h"
#include <QString>
#include <QWidget>

class QCheckBox;
class QVBoxLayout;
class StringTable;

class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    // strTabCaption: the caption of the page's template, shown on its tab.
    CPropertyPage(const QString& strTabCaption, const StringTable* pStrings);

    const QString& GetTabCaption() const { return m_strTabCaption; }
    // Whether the page's controls exist (the page has been shown at least once).
    bool HasWindow() const { return m_bCreated; }
    // Makes the controls now if they do not exist yet.
    void Create();
    // TRUE: controls to members; FALSE: members to controls. FALSE when there are no
    // controls yet.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // The control with this id, or null.
    QWidget* GetDlgItem(int nId) const;

protected:
    // Makes the controls and sets their texts; the members are then shown in them.
    virtual void OnInitDialog() = 0;
    virtual void DoDataExchange(BOOL bSaveAndValidate) = 0;

    // The text of a resource-string key (empty when the key is missing).
    QString LoadString(const char* pszKey) const;
    // A check box below the page's other controls, with its template text.
    QCheckBox* AddCheckBox(int nId, const QString& strTemplateText);
    // DDX_Check: a check box's state (0 or 1) to or from *pValue.
    void DDX_Check(int nId, BOOL* pValue, BOOL bSaveAndValidate);
    QVBoxLayout* GetLayout() const { return m_pLayout; }
    static void SetDlgCtrlID(QWidget* pControl, int nId);

    void showEvent(QShowEvent* pEvent) override;

private:
    QString m_strTabCaption;
    const StringTable* m_pStrings;
    QVBoxLayout* m_pLayout = nullptr;
    bool m_bCreated = false;
};
