#include "platform/CScriptedMessageBox.h"

CScriptedMessageBox::CScriptedMessageBox(std::initializer_list<int> answers) : m_answers(answers)
{
    m_previous = SetMessageBoxHandler([this](const QString& text, const QString& caption, unsigned type) {
        return Answer(text, caption, type);
    });
}

CScriptedMessageBox::~CScriptedMessageBox() { SetMessageBoxHandler(std::move(m_previous)); }

void CScriptedMessageBox::QueueAnswer(int nButton) { m_answers.push_back(nButton); }

void CScriptedMessageBox::Clear()
{
    m_answers.clear();
    m_calls.clear();
}

int CScriptedMessageBox::Answer(const QString& text, const QString& caption, unsigned type)
{
    int nAnswer = DefaultMessageBoxButton(type);
    if (!m_answers.empty()) {
        nAnswer = m_answers.front();
        m_answers.pop_front();
    }
    m_calls.append(Call{text, caption, type, nAnswer});
    return nAnswer;
}
