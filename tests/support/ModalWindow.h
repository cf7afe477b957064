#pragma once
// Code under test that waits in a modal window (an editor, a sheet, a question) is
// answered from a timer once that window shows.
#include <functional>

class QWidget;

// Runs fn on the next modal window once it shows.
void WhenModal(const std::function<void(QWidget*)>& fn);
