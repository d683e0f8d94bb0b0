#include "recordlist/RecordList.h"

#include "common/Globals.h"
#include "common/Paths.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

namespace recordlist {

namespace {
// Both the record files and the older ones begin so: one listing of the folder serves both.
const QString kShocMask = QStringLiteral("SHOC-*");

// Tells what the list leaves out that was not told before in this run of the program.
void tellLeftOut(const Listing& listing, ToldOnce& told)
{
    QList<SkippedFile> files;
    for (const UnreadFile& f : listing.unreadable)
        files.append({f.fileName, f.reason});
    QStringList unreadable;
    for (const SkippedFile& f : told.firstTime(files))
        unreadable << f.reason;
    const QStringList log =
        listing.exportLog.ok ? QStringList() : told.firstTime(QStringList{listing.exportLog.error});
    if (const QString text = unlistedText(unreadable, log.value(0)); !text.isEmpty())
        platform::dialogs().ask(text, platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
}
} // namespace

QString unlistedText(const QStringList& unreadable, const QString& exportLogFailure)
{
    QStringList parts;
    if (!unreadable.isEmpty())
        parts << QStringLiteral("Les fichiers suivants ne figurent pas dans la liste des relevés :\n\n") +
                     unreadable.join(QStringLiteral("\n\n"));
    if (!exportLogFailure.isEmpty())
        parts << QStringLiteral("Les dates de dernière exportation ne sont pas affichées.\n\n") +
                     exportLogFailure;
    return parts.join(QStringLiteral("\n\n"));
}

const Listing& RecordList::refresh(const QString& dataFolder, grid::Grid& grid, ConversionObserver* observer)
{
    QStringList names = common::listFiles(dataFolder, kShocMask);
    m_conversion =
        convertOlderFilesAndTell(dataFolder, common::filterNames(names, kOlderMask), m_told, observer);
    if (!m_conversion.converted.isEmpty())
        names = common::listFiles(dataFolder, kShocMask);
    m_listing = readListing(dataFolder, common::filterNames(names, kRecordMask), m_cache);
    fillListGrid(m_listing, grid, m_sort);
    tellLeftOut(m_listing, m_told);
    return m_listing;
}

} // namespace recordlist
