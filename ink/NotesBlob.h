#pragma once
// The notes of an appointment or a task as the store keeps them (get_BodyInk /
// put_BodyInk): bytes the editors hold unchanged and never look inside. No bytes means
// no notes. The ink control is the only reader and writer of their content.
#include <QByteArray>

struct NotesBlob {
    QByteArray bytes;

    bool IsEmpty() const { return bytes.isEmpty(); }
    int GetCount() const { return static_cast<int>(bytes.size()); }
};
