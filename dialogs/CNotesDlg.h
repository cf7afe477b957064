#pragma once
// The notes editor: the ink control over the dialog with a command bar at the bottom
// (Save, Cancel, the pen-mode button, clear all). It opens in pen mode when the
// NotesPenDefault setting is on, else in keyboard mode, and works on the caller's notes
// through a pointer: Save replaces them (exec() gives IDOK), Cancel and Escape leave
// them as they were (IDCANCEL). Enter in the notes is a line break.
//
//     CNotesDlg dlg(this, strings, settings.NotesPenDefault);
//     dlg.SetNotes(&m_notes);
//     if (dlg.exec() == IDOK) ...
//
// Notes bytes the control cannot read stay exactly as they were through Save unless the
// user clears everything.
#include "ink/CInkWnd.h"
#include "ink/NotesBlob.h"
#include "platform/WinTypes.h"
#include <QDialog>

class CDialogToolBar;
class StringTable;

// Commands of the notes editor (1 and 2 are the platform's Save and Cancel).
constexpr int ID_NOTES_SAVE = 1201;
constexpr int ID_NOTES_CANCEL = 1202;
constexpr int ID_NOTES_PENMODE = 1203;
constexpr int ID_NOTES_CLEARALL = 1204;
// The bitmap resource with the bar's four pictures.
constexpr int IDB_NOTES_TOOLBAR = 203;

class CNotesDlg : public QDialog {
    Q_OBJECT
public:
    // The strings must outlive the dialog.
    CNotesDlg(QWidget* pParent, const StringTable& strings, BOOL bNotesPenDefault);
    ~CNotesDlg() override;

    // The notes to edit; set before the dialog runs. Loaded into the control on the first
    // showing.
    void SetNotes(NotesBlob* pNotes) { m_pNotes = pNotes; }

    // Runs a command as the bar's buttons do (1 or 1201 Save, 2 or 1202 Cancel, 1203
    // pen mode, 1204 clear all). Answers 0 for any other command.
    int OnCommand(int nId);

    CInkWnd* GetInkWnd() { return &m_ink; }
    CDialogToolBar* GetToolBar() const { return m_pToolBar; }

public slots:
    // Escape and closing the window: IDCANCEL.
    void reject() override;
    // Showing builds the dialog on the first time, places it over the main window at its
    // size and gives the notes the focus.
    void setVisible(bool bVisible) override;

private:
    void OnInitDialog();
    void OnSave();
    void OnClearAll();
    // The pen settings while the pen-mode button is pressed, else the keyboard settings.
    void ApplySettingsOfButton();

    const StringTable& m_strings;
    BOOL m_bNotesPenDefault;
    NotesBlob* m_pNotes = nullptr;
    CInkWnd m_ink;
    CDialogToolBar* m_pToolBar = nullptr;
    bool m_bInitialised = false;
};
