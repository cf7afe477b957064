#pragma once
// The value syntax of regedit export files: quoted names and strings with \\ and \"
// escapes, dword:XXXXXXXX, hex:aa,bb and hex(N):aa,bb. Used by CRegistryDocument.
#include "platform/RegistryFile.h"

#include <QString>

namespace RegistrySyntax {

// Kind of a hex value written as plain "hex:" (REG_BINARY).
constexpr uint32_t kBinaryHexKind = 3;

// Reads a quoted text starting at *pPos (the opening quote); on success *pPos is after
// the closing quote.
bool ReadQuoted(const QString& line, int* pPos, QString* pText);
QString Quote(const QString& text);

// Reads the data part of a value line ("dword:...", "\"...\"", "hex...:...").
bool ReadData(const QString& data, RegValue* pValue);
QString WriteData(const RegValue& value);

}  // namespace RegistrySyntax
