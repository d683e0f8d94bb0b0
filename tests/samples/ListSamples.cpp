#include "tests/samples/ListSamples.h"

#include "tests/samples/RecordSamples.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace list_samples {

record::SurveyRecord recordOf(int passage, const QString& date, bool notValidated, int parcels)
{
    record::SurveyRecord r = record_samples::twoParcels();
    r.passage = passage;
    r.date = date;
    r.notValidated = notValidated;
    while (r.parcels.size() < parcels)
        r.parcels.append(r.parcels.first());
    r.parcels.resize(parcels);
    return r;
}

void writeRecord(const QString& folder, const QString& name, const record::SurveyRecord& record,
                 const std::function<void(grid::Grid&)>& change)
{
    record_samples::writeRecord(QDir(folder).filePath(name), record, change);
}

void setModified(const QString& path, const QDateTime& when)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite)) << path.toStdString();
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime)) << path.toStdString();
}

} // namespace list_samples
