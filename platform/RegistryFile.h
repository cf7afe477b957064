#pragma once
// The registry stand-in: one file in regedit export syntax, holding keys (which exist
// without values) and typed values (dword, string, hex). Saved atomically.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

enum class RegType { Dword, String, Binary };

struct RegValue {
    RegType type = RegType::Binary;
    QByteArray data;  // little-endian dword, UTF-16LE string with its NUL, or raw bytes
    uint32_t nHexKind = 3;  // Binary only: the N of "hex(N):" (3, REG_BINARY, is written "hex:")
};

// Path of the registry file: --registry, else QUILLDAY_REGISTRY, else
// $XDG_CONFIG_HOME/quillday/registry.reg; empty when neither that nor HOME is set.
QString GetRegistryPath();
void SetRegistryPath(const QString& path);  // empty restores the default
// A run that only reads (--print-week, --screenshot, --export) never writes the file:
// keys and values it would add stay in memory.
void SetRegistryReadOnly(bool bReadOnly);

// Whole-file operations used by CRegistry: each opens the file, does one thing, saves.
// Keys are paths such as "HKEY_LOCAL_MACHINE\SOFTWARE\Quillday", compared without case.
bool RegistryCreateKey(const QString& key);
bool RegistryQueryValue(const QString& key, const QString& name, RegValue* pValue);
bool RegistrySetValue(const QString& key, const QString& name, const RegValue& value);
// A file that does not start as a registry file (a header line or a key line) is never
// written over: reads give nothing, writes stay in memory. Then this is the text that
// says so; empty otherwise.
QString RegistryRefusal();
