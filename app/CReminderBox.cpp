#include "app/CReminderBox.h"

#include "reminders/ReminderText.h"
#include "resources/StringTable.h"
#include <QPushButton>

CReminderBox::CReminderBox(const QString& strTitle, const QString& strBody, bool bChoices, const StringTable& strings,
                           ChoiceHandler fnChoice, QWidget* pParent)
    : QMessageBox(pParent), m_fnChoice(std::move(fnChoice))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    setIcon(QMessageBox::Information);
    setWindowTitle(GetResourceString(strings, QStringLiteral("RC_REMINDER_TITLE")));
    setText(strTitle);
    setInformativeText(strBody);
    if (bChoices) {
        m_choices.insert(addButton(OpenText(strings), QMessageBox::AcceptRole), {ReminderChoice::Open, 0});
        for (int nMinutes : kSnoozeMinutes)
            m_choices.insert(addButton(SnoozeText(nMinutes, strings), QMessageBox::ActionRole),
                             {ReminderChoice::Snooze, nMinutes});
    }
    m_choices.insert(addButton(DismissText(strings), QMessageBox::RejectRole), {ReminderChoice::Dismiss, 0});
    connect(this, &QMessageBox::buttonClicked, this, &CReminderBox::OnClicked);
}

void CReminderBox::OnClicked(QAbstractButton* pButton)
{
    const auto it = m_choices.constFind(pButton);
    if (it != m_choices.constEnd() && m_fnChoice)
        m_fnChoice(it.value());
}
