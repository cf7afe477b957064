#include "controls/Notify.h"

intptr_t DeliverNotify(QWidget* pSender, QWidget* pReceiver, NMHDR* pHdr)
{
    if (pSender == nullptr || pReceiver == nullptr || pHdr == nullptr)
        return 0;
    // A receiver being torn down no longer has its derived part: the cast fails then.
    auto* pSink = dynamic_cast<INotifyReceiver*>(pReceiver);
    if (pSink == nullptr)
        return 0;
    return pSink->OnNotify(pHdr);
}
