#pragma once
// What the record window opens for a request, decided without the window: the record whose
// values it shows, the record in its stored form (the administrator's page), the file it
// modifies, the caption of its frame and what the user must be told.
//
//  UPDATE          the file asked for; a file that cannot be read opens nothing.
//  NEW RELEVE      the site's latest file gives the identification, the parcels' locations and
//                  the season; the passages already stored for the site cannot be chosen.
//  NEW RELEVE A-1  the latest file gives the identification; the season moves on by one winter.
//  NEW             an empty record of 5 parcels with the default network and habitat and the
//                  current winter.
// A known site without a file that can be read opens a new record for that site (the fields its
// name holds filled in), and the user is told why.

#include "platform/Clock.h"
#include "platform/Result.h"
#include "platform/Services.h"
#include "record/RecordLayout.h"
#include "record/RecordRequest.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace grid {
class Grid;
}

namespace record {

class RecordStore;
class ReferenceData;

// The parcels of a new record.
inline constexpr int kNewRecordParcels = 5;

struct [[nodiscard]] RecordOpening
{
    platform::Result result;           // fails only for a record to modify that cannot be read
    RecordMode mode = RecordMode::New; // the mode the window works in
    RecordReading reading;             // the values the window shows, the passages it offers
    QString fileName;                  // UPDATE: the file modified; a known site: its latest file
    QString caption;                   // the caption of the window's frame
    QStringList notices;               // what the user is told once the window is open
};

// The grid receives the record in its stored form: the file read (in the new-record modes with
// the cells of rows 5 to 14, columns 3 to 16 emptied, as the next save rewrites them), or an
// empty record grid.
RecordOpening openRecord(const RecordRequest& request, const RecordStore& store,
                         const ReferenceData& references, const QStringList& seasons, grid::Grid& stored,
                         const QDate& today = platform::clock().today());

// A new record as the window starts it: 5 parcels, the network and habitat the lists preselect,
// the current winter when the list offers it.
SurveyRecord newRecord(const ReferenceData& references, const QStringList& seasons, const QDate& today);

} // namespace record
