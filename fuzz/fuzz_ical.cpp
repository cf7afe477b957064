// iCalendar import: any file imports or is refused with a reason, and what was imported
// exports, imports again and exports again to the very same text.
#include "fuzz/FuzzTarget.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "pim/CPimStore.h"

#include <QBuffer>
#include <memory>

namespace {

// A store of this process, emptied for each input (a new file each time costs more than
// the import). Kept to the end of the process: the store's own bookkeeping may be gone
// before static objects of this file are destroyed.
std::shared_ptr<CPimStore> EmptyStore(const char* pszName)
{
    static std::shared_ptr<CPimStore>* const stores = new std::shared_ptr<CPimStore>[2];
    std::shared_ptr<CPimStore>& pStore = stores[pszName[0] == 'b' ? 1 : 0];
    if (!pStore && FAILED(CPimStore::Open(FuzzFolder() + QLatin1Char('/') + QLatin1String(pszName), &pStore)))
        FuzzFailure("a new store opens");
    FuzzCheck(sqlite3_exec(pStore->Db(),
                           "DELETE FROM items; DELETE FROM notes; DELETE FROM appt_span; DELETE FROM series_span;",
                           nullptr, nullptr, nullptr)
                  == SQLITE_OK,
              "a store empties");
    return pStore;
}

QByteArray Exported(const std::shared_ptr<CPimStore>& pStore, int* pnItems)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CICalExporter exporter(pStore);
    QString strError;
    FuzzCheck(exporter.Export(&buffer, &strError) == TRUE, "what was imported exports");
    *pnItems = exporter.Appointments() + exporter.Tasks();
    return buffer.data();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const QByteArray text(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize));
    const std::shared_ptr<CPimStore> pFirst = EmptyStore("a.sqlite");
    CICalImporter importer(pFirst);
    QString strError;
    if (!importer.ImportText(text, &strError)) {
        FuzzCheck(!strError.isEmpty(), "a refused file is refused with a reason");
        return 0;
    }
    int nFirstItems = 0;
    const QByteArray first = Exported(pFirst, &nFirstItems);
    const std::shared_ptr<CPimStore> pSecond = EmptyStore("b.sqlite");
    CICalImporter again(pSecond);
    FuzzCheck(again.ImportText(first, &strError) == TRUE, "an exported calendar imports");
    int nSecondItems = 0;
    FuzzCheck(Exported(pSecond, &nSecondItems) == first, "export, import and export again give the same text");
    FuzzCheck(nSecondItems == nFirstItems, "an exported calendar imports whole");
    return 0;
}
