#pragma once
// The contents of a registry file in regedit export syntax, read and written as text:
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_LOCAL_MACHINE\SOFTWARE\Quillday]
//     "FontSize"=dword:0000000a
//     "FontName"="mirafon"
//     "Blob"=hex:01,02,03
//
// Keys exist without values; key and value names compare without case. Reading never
// fails: a line that cannot be read is left out and the document notes that it lost
// something (HasUnreadableLines), so the caller can keep the original file.
#include "platform/RegistryFile.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class CRegistryDocument {
public:
    // Reads at most the first kMaxBytes, up to the last line end within them; the rest is
    // left out and counted as unreadable.
    static constexpr qsizetype kMaxBytes = 4 << 20;
    void Parse(const QByteArray& bytes);
    // Whether the bytes start as a registry file: the header of regedit or of ours, or a key
    // line, as the first line that is not empty. An empty file counts as one.
    static bool StartsAsRegistryFile(const QByteArray& bytes);
    QByteArray ToText() const;

    // True when Parse left out or replaced something of the file: an unreadable line, a
    // comment, a value before the first key, a value given twice, text that was no UTF-8.
    bool HasUnreadableLines() const { return m_nUnreadableLines > 0; }
    int UnreadableLines() const { return m_nUnreadableLines; }

    bool HasKey(const QString& key) const;
    // False when the name cannot be written in the file's syntax (line breaks, empty).
    bool AddKey(const QString& key);
    bool QueryValue(const QString& key, const QString& name, RegValue* pValue) const;
    // Creates the key when missing; false for names the syntax cannot hold.
    bool SetValue(const QString& key, const QString& name, const RegValue& value);

    static QString NormalizeKey(const QString& key);

private:
    struct NamedValue {
        QString strName;
        RegValue value;
    };
    struct Key {
        QString strName;
        QList<NamedValue> values;
        // Where each value is in values, by its case-folded name: a file of many values is
        // read in linear time.
        QHash<QString, qsizetype> index;
    };
    // The value of that name (any letter case) in the key; null when it has none.
    static NamedValue* FindValue(Key* pKey, const QString& name);
    // Sets the value of that name, adding it at the end when the key has none; true when
    // it replaced one.
    static bool PutValue(Key* pKey, const QString& name, const RegValue& value);

    Key* FindKey(const QString& key);
    const Key* FindKey(const QString& key) const;
    void ParseLine(const QString& line, Key** ppCurrent);
    bool ParseValueLine(const QString& line, Key* pKey);
    static QString ValueText(const RegValue& value);

    QList<Key> m_keys;
    int m_nUnreadableLines = 0;
};
