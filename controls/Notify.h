#pragma once
// Notification records and their delivery. A control reports to its receiver with a
// record that starts with an NMHDR (sender, control id, code) followed by the control's
// own fields; the receiver reads the header, then casts to the control's record by code
// and sender. Delivery is synchronous: the receiver runs before the sender continues.
#include <QWidget>
#include <cstdint>

struct NMHDR {
    QWidget* hwndFrom = nullptr;  // the sending control
    intptr_t idFrom = 0;          // its control id
    unsigned code = 0;            // small number private to each control
};

// Implemented by every window that receives notifications from its child controls.
class INotifyReceiver {
public:
    virtual ~INotifyReceiver() = default;
    // Returns the answer the sender gets back; 0 when the receiver has nothing to say.
    virtual intptr_t OnNotify(NMHDR* pHdr) = 0;
};

// Delivers the record to the receiver window; 0 (and nothing delivered) when either
// window is gone or the receiver does not implement INotifyReceiver.
intptr_t DeliverNotify(QWidget* pSender, QWidget* pReceiver, NMHDR* pHdr);
