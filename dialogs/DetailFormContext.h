#pragma once
// What the store's detail forms need of the program: the window they cover, the texts and
// the time format.
#include <QWidget>

class StringTable;

struct DetailFormContext {
    QWidget* pParent = nullptr;            // the main window; the form covers it
    const StringTable* pStrings = nullptr;
    bool bUse24Hour = true;
};
