// Thousands of damaged files fed to the readers of complete grid files and workbooks: none may
// crash or hang, a refused file leaves the grid as it was, and an accepted one gives a grid that
// saves and reads back unchanged.

#include "grid/GridFile.h"

#include "grid/Grid.h"
#include "tests/grid/GridSamples.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>

using namespace grid;
using namespace grid_samples;

namespace {

class Mutator
{
public:
    explicit Mutator(unsigned seed) : m_rng(seed) {}

    int below(int n) { return n <= 0 ? 0 : int(m_rng() % unsigned(n)); }

    QByteArray mutate(QByteArray b)
    {
        static const char interesting[] = "\t\n\r\\0123456789-|\"<>/=_x&;#\xC3\xA9\xFF";
        const int rounds = 1 + below(3);
        for (int i = 0; i < rounds; ++i) {
            const int size = int(b.size());
            switch (below(9)) {
            case 0: // truncate
                b.truncate(below(size + 1));
                break;
            case 1: // flip a bit
                if (size > 0)
                    b[below(size)] = char(b[below(size)] ^ char(1 << below(8)));
                break;
            case 2: // set a byte to an interesting one
                if (size > 0)
                    b[below(size)] = interesting[below(int(sizeof(interesting)) - 1)];
                break;
            case 3: // insert interesting bytes
                b.insert(below(size + 1),
                         QByteArray(1 + below(3), interesting[below(int(sizeof(interesting)) - 1)]));
                break;
            case 4: // delete a range
                if (size > 0) {
                    const int at = below(size);
                    b.remove(at, 1 + below(std::min(20, size - at)));
                }
                break;
            case 5: { // duplicate a line
                const QList<QByteArray> lines = b.split('\n');
                const int l = below(int(lines.size()));
                b.insert(int(b.indexOf(lines[l])), lines[l] + '\n');
                break;
            }
            case 6: { // swap two lines
                QList<QByteArray> lines = b.split('\n');
                if (lines.size() > 2)
                    std::swap(lines[below(int(lines.size()))], lines[below(int(lines.size()))]);
                b = lines.join('\n');
                break;
            }
            case 7: { // a number made large or negative
                const int at = below(size);
                for (int k = at; k < size; ++k)
                    if (b[k] >= '0' && b[k] <= '9') {
                        b.insert(k, below(2) ? QByteArray("99999") : QByteArray("-"));
                        break;
                    }
                break;
            }
            default: // random byte
                if (size > 0)
                    b[below(size)] = char(below(256));
            }
        }
        return b;
    }

private:
    std::mt19937 m_rng;
};

QByteArray snapshot(const Grid& g) { return GridFile::toComplete(g); }

// Damaged workbooks read by one run: the whole series of 3000 when MIRELOT_FULL_FUZZ is 1 (the
// sanitizer stage of .ci/run), its first tenth otherwise.
int workbookRuns() { return qEnvironmentVariableIntValue("MIRELOT_FULL_FUZZ") == 1 ? 3000 : 300; }

} // namespace

TEST(GridFuzz, DamagedCompleteFiles)
{
    Grid awkward, record;
    fillAwkward(awkward);
    fillRecord(record, 40);
    const QByteArray bases[] = {snapshot(awkward), snapshot(record)};
    Mutator m(20091105);
    int accepted = 0, refused = 0;
    for (int i = 0; i < 6000; ++i) {
        const QByteArray bytes = m.mutate(bases[i % 2]);
        Grid g;
        fillAwkward(g);
        const QByteArray before = snapshot(g);
        const platform::Result r = GridFile::fromComplete(g, bytes);
        if (!r) {
            ++refused;
            ASSERT_FALSE(r.error.isEmpty()) << "iteration " << i;
            ASSERT_EQ(snapshot(g), before) << "iteration " << i << ": a refused file changed the grid";
            continue;
        }
        ++accepted;
        Grid again;
        const QByteArray saved = snapshot(g);
        ASSERT_TRUE(GridFile::fromComplete(again, saved)) << "iteration " << i;
        ASSERT_EQ(snapshot(again), saved) << "iteration " << i;
    }
    std::printf("complete files: %d refused, %d accepted\n", refused, accepted);
    EXPECT_GT(refused, 1000);
    EXPECT_GT(accepted, 50) << "some damage (a changed letter in a text) still reads";
}

TEST(GridFuzz, DamagedWorkbooks)
{
    Grid awkward;
    fillAwkward(awkward);
    QTemporaryDir dir;
    const QString path = dir.filePath("w.xlsx");
    ASSERT_TRUE(GridFile::save(awkward, path, GridFile::Workbook, true));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray base = f.readAll();
    const QList<QPair<QString, QByteArray>> entries = unzipAll(base);
    ASSERT_GE(entries.size(), 4);

    Mutator m(20100112);
    const int runs = workbookRuns();
    int accepted = 0;
    for (int i = 0; i < runs; ++i) {
        QByteArray bytes;
        if (i % 3 == 0) {
            bytes = m.mutate(base); // the archive itself
        } else {
            // One part of the workbook damaged inside a sound archive, to reach the XML readers.
            QList<QPair<QString, QByteArray>> parts = entries;
            const int k = m.below(int(parts.size()));
            parts[k].second = m.mutate(parts[k].second);
            bytes = zipOf(parts);
        }
        Grid g;
        fillAwkward(g);
        const QByteArray before = snapshot(g);
        const platform::Result r = GridFile::fromWorkbook(g, bytes);
        if (!r) {
            ASSERT_FALSE(r.error.isEmpty()) << "iteration " << i;
            ASSERT_EQ(snapshot(g), before) << "iteration " << i << ": a refused workbook changed the grid";
            continue;
        }
        ++accepted;
        ASSERT_LE(qint64(g.rows()) * g.cols(), 10'000'000) << "iteration " << i;
        ASSERT_GE(g.fixedRows(), 0);
        ASSERT_LE(g.fixedRows(), g.rows());
        ASSERT_LE(g.fixedCols(), g.cols());
    }
    std::printf("workbooks: %d accepted of %d\n", accepted, runs);
    EXPECT_GT(accepted, runs / 30);
}
