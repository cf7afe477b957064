#pragma once
// Readable GoogleTest messages for Qt values.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* pOut)
{
    *pOut << '"' << text.toStdString() << '"';
}
