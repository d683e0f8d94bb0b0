#include "recordlist/RecordSections.h"

#include "grid/Grid.h"
#include "record/RecordFileLayout.h"
#include "record/RecordLayout.h"

namespace recordlist {

RecordSections::RecordSections(const grid::Grid& record) : m_grid(record)
{
    for (int r = 0; r < record.rows(); ++r) {
        const QString label = record.cell(r, record::file::LabelColumn);
        if (!label.isEmpty() && !m_rows.contains(label))
            m_rows.insert(label, r);
    }
}

int RecordSections::speciesTitle(int parcel) const
{
    return row(record::RecordLayout::kTitleSpecies + QString::number(parcel));
}

} // namespace recordlist
