#pragma once
// The calendar folder (appointments) or the task folder of a store.
#include "platform/WinTypes.h"
#include <memory>

class CPimStore;
class IPOutlookItemCollection;

class IFolder {
public:
    IFolder(std::shared_ptr<CPimStore> pStore, int nFolder);

    // olFolderCalendar or olFolderTasks.
    int GetFolderId() const { return m_nFolder; }
    // A new collection over every item of the folder (unsorted, recurrences not included).
    HRESULT get_Items(std::unique_ptr<IPOutlookItemCollection>* ppItems);

private:
    std::shared_ptr<CPimStore> m_pStore;
    int m_nFolder = 0;
};
