#pragma once
// One consistent read view of the store for a burst of reads, such as a week load: while
// it lives, every read shares one read transaction instead of taking the file lock for
// each statement. Does nothing when the store is not open or a transaction is running.
#include <memory>

class CPimStore;
class IPOutlookApp;

class CPimReadView {
public:
    explicit CPimReadView(IPOutlookApp* pApp);
    ~CPimReadView();
    CPimReadView(const CPimReadView&) = delete;
    CPimReadView& operator=(const CPimReadView&) = delete;

private:
    std::shared_ptr<CPimStore> m_pStore;  // set while the view holds a transaction
};
