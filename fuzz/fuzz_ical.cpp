// iCalendar import: any file imports or is refused with a reason, and what was imported
// exports, imports again and exports again to the very same text.
#include "fuzz/FuzzTarget.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "pim/CPimStore.h"

#include <QBuffer>
#include <memory>

namespace {

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
    const std::shared_ptr<CPimStore> pFirst = FuzzEmptyStore(0);
    CICalImporter importer(pFirst);
    QString strError;
    if (!importer.ImportText(text, &strError)) {
        FuzzCheck(!strError.isEmpty(), "a refused file is refused with a reason");
        return 0;
    }
    int nFirstItems = 0;
    const QByteArray first = Exported(pFirst, &nFirstItems);
    const std::shared_ptr<CPimStore> pSecond = FuzzEmptyStore(1);
    CICalImporter again(pSecond);
    FuzzCheck(again.ImportText(first, &strError) == TRUE, "an exported calendar imports");
    int nSecondItems = 0;
    FuzzCheck(Exported(pSecond, &nSecondItems) == first, "export, import and export again give the same text");
    FuzzCheck(nSecondItems == nFirstItems, "an exported calendar imports whole");
    return 0;
}
