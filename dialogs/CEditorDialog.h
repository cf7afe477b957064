#pragma once
// What the appointment and task editors share: the frame's settings, strings and store;
// the command area (the tool bar of bitmap 219 at the bottom, or with UseSoftKey the
// soft-key bar of menu 235); the read-only notes preview below the fields; the notes
// command; Enter and Escape as Save and Cancel; the size of the main window.
//
// The editor is built, loaded and given its dates by the caller, then run with DoModal
// (or shown). Its opening steps run when it is first shown.
#include "ink/NotesBlob.h"
#include "platform/WinTypes.h"
#include <QDialog>
#include <QString>

class CDialogSoftKeyBar;
class CDialogToolBar;
class CInkWnd;
class IDialogHost;
class QDateEdit;
class QLabel;
class QWidget;
struct AgendaSettings;

// Button texts of the tool bar, in the order Save, Cancel, Notes, Edit in detail.
struct EditorToolBarKeys {
    const char* pszSave;
    const char* pszCancel;
    const char* pszNotes;
    const char* pszDetail;
};

class CEditorDialog : public QDialog {
    Q_OBJECT
public:
    // pParent: the main window, whose size the dialog takes.
    CEditorDialog(IDialogHost* pHost, QWidget* pParent, const QString& strCaption);
    ~CEditorDialog() override;

    // Runs the dialog modally: 1 saved, 2 cancelled, 4 saved and the detail form wanted.
    int DoModal();
    // A command of the tool bar, the soft-key bar, Enter (1) or Escape (2).
    bool OnCommand(int nId);

    // The notes bytes the editor holds (written to the item on Save).
    const NotesBlob& GetNotes() const { return m_notes; }

    CDialogToolBar* GetToolBar() const { return m_pToolBar; }
    CDialogSoftKeyBar* GetSoftKeyBar() const { return m_pSoftKeyBar; }
    CInkWnd* GetNotesPreview() const { return m_pPreview; }
    // The control with this id (EditorIds.h), or null.
    QWidget* GetDlgItem(int nId) const;

protected:
    // The editor's own steps.
    virtual void OnInitDialog() = 0;
    // Reads the controls and writes and saves the item. FALSE when the values were
    // refused (the person was told why, nothing was written, the dialog stays open).
    virtual BOOL Save() = 0;
    // Places the fields in the area above the preview.
    virtual void LayoutFields(int nWidth) = 0;

    // Gives a control its id.
    static void SetDlgCtrlID(QWidget* pControl, int nId);
    // The width of a column of field labels: nMinimum, or more where a label's text
    // (in a language with longer words) needs it.
    static int LabelColumnWidth(int nMinimum, const QList<const QLabel*>& labels);
    // Opening steps shared by both editors.
    void CreateNotesPreview(int nTop);
    void CreateCommandArea(const EditorToolBarKeys& keys);
    void EditNotes();

    const AgendaSettings& Settings() const;
    QString LoadString(const char* pszKey) const;
    IDialogHost* Host() const { return m_pHost; }
    // A date picker in the platform's short-date form with a drop-down calendar.
    // OnDatePickerClosed(nId) follows when its calendar closes or its edit is finished.
    QDateEdit* CreateDatePicker(int nId);
    virtual void OnDatePickerClosed(int nId) = 0;
    // Focus for the editor's first field.
    virtual QWidget* GetSubjectEdit() const = 0;

    void keyPressEvent(QKeyEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

    NotesBlob m_notes;
    BOOL m_bNewItem = TRUE;

private:
    void PlaceBarAndPreview();
    void FinishDateEdit();

    IDialogHost* m_pHost;
    CDialogToolBar* m_pToolBar = nullptr;
    CDialogSoftKeyBar* m_pSoftKeyBar = nullptr;
    CInkWnd* m_pPreview = nullptr;
    int m_nPreviewTop = 0;
    bool m_bInitDone = false;
};
