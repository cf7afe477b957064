#pragma once
// The window's own notice of a reminder, for a desktop without a notification service: a
// box over the main window that stays until answered, with the notice's choices (open,
// snooze 5, 10 or 30 minutes, dismiss). It does not block the window; each reminder has a
// box of its own, which goes when answered.
#include "reminders/IReminderBell.h"
#include <QMessageBox>
#include <functional>

class StringTable;

class CReminderBox : public QMessageBox {
    Q_OBJECT
public:
    using ChoiceHandler = std::function<void(const ReminderChoice& choice)>;

    // strTitle and strBody: the notice's texts. bChoices: with open and snooze (a reminder);
    // without, only a button that closes it (the notice of missed reminders).
    CReminderBox(const QString& strTitle, const QString& strBody, bool bChoices, const StringTable& strings,
                 ChoiceHandler fnChoice, QWidget* pParent);

private:
    void OnClicked(QAbstractButton* pButton);

    ChoiceHandler m_fnChoice;
    QHash<QAbstractButton*, ReminderChoice> m_choices;
};
