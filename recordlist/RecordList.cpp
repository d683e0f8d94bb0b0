#include "recordlist/RecordList.h"

#include "common/Paths.h"

namespace recordlist {

namespace {
// Both the record files and the older ones begin so: one listing of the folder serves both.
const QString kShocMask = QStringLiteral("SHOC-*");
} // namespace

const Listing& RecordList::refresh(const QString& dataFolder, grid::Grid& grid, ConversionObserver* observer)
{
    QStringList names = common::listFiles(dataFolder, kShocMask);
    m_conversion =
        convertOlderFilesAndTell(dataFolder, common::filterNames(names, kOlderMask), m_told, observer);
    if (!m_conversion.converted.isEmpty())
        names = common::listFiles(dataFolder, kShocMask);
    m_listing = readListing(dataFolder, common::filterNames(names, kRecordMask), m_cache);
    fillListGrid(m_listing, grid, m_sort);
    return m_listing;
}

} // namespace recordlist
