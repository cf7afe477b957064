#pragma once
// A test aid: while it exists, every MessageBox call is answered from a queue of buttons
// (the box's default button once the queue is empty) and recorded. Restores the previous
// handler when destroyed.
//
//     CScriptedMessageBox boxes({IDYES});
//     ... code that asks ...
//     EXPECT_EQ(boxes.Calls().size(), 1);
#include "platform/MessageBox.h"

#include <QList>
#include <QString>

#include <deque>
#include <initializer_list>

class CScriptedMessageBox {
public:
    struct Call {
        QString strText;
        QString strCaption;
        unsigned nType = 0;
        int nAnswer = 0;
    };

    explicit CScriptedMessageBox(std::initializer_list<int> answers = {});
    ~CScriptedMessageBox();
    CScriptedMessageBox(const CScriptedMessageBox&) = delete;
    CScriptedMessageBox& operator=(const CScriptedMessageBox&) = delete;

    void QueueAnswer(int nButton);
    const QList<Call>& Calls() const { return m_calls; }
    int UnusedAnswers() const { return static_cast<int>(m_answers.size()); }
    void Clear();

private:
    int Answer(const QString& text, const QString& caption, unsigned type);

    std::deque<int> m_answers;
    QList<Call> m_calls;
    MessageBoxHandler m_previous;
};
