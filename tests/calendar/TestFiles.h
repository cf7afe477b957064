#pragma once
// Writing the data files of a test into its temporary folder.
#include <QByteArray>
#include <QString>

// The text as UTF-16LE with a byte-order mark, lines joined with CR LF.
QByteArray Utf16File(const QString& text);
// Writes the bytes to folder/name; false when the file cannot be written.
bool WriteTestFile(const QString& folder, const QString& name, const QByteArray& bytes);
