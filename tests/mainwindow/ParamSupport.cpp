#include "tests/mainwindow/ParamSupport.h"

#include "data/StarterTables.h"
#include "grid/GridFile.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

using grid::Grid;
using grid::GridFile;

namespace param_support {

void writeTable(const QString& path, const QString& tsv, int code, const QList<int>& checkColumns)
{
    Grid g;
    const QString why = data::gridFromText(g, tsv, checkColumns);
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    const platform::Result r = GridFile::save(g, path, code, true);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
}

QStringList dump(const Grid& grid)
{
    QStringList rows;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList cells;
        for (int c = 1; c < grid.cols(); ++c) {
            QString t = grid.cell(r, c);
            const int state = grid.checkState(r, c);
            if (r >= 1 && state != Grid::NoCheck)
                t.prepend(state == Grid::Checked ? QStringLiteral("+") : QStringLiteral("-"));
            cells << t;
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList readAsRecordWindow(const QString& path, int code, const QList<int>& checkColumns)
{
    Grid g;
    g.setFixedRows(0);
    for (int c : checkColumns) {
        g.setCols(std::max(g.cols(), c + 1));
        g.setColDataType(c, Grid::DataType::Boolean);
    }
    if (!GridFile::load(g, path, code))
        return {};
    return dump(g);
}

WriteWatch::WriteWatch(const QString& folder)
{
    m_fd = inotify_init1(IN_NONBLOCK);
    if (m_fd >= 0)
        inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_MOVED_TO | IN_CLOSE_WRITE);
}

WriteWatch::~WriteWatch()
{
    if (m_fd >= 0)
        close(m_fd);
}

int WriteWatch::writesOf(const QString& fileName)
{
    EXPECT_GE(m_fd, 0) << "no inotify";
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = read(m_fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + i);
            if (e->len > 0)
                m_seen << QFile::decodeName(QByteArray(e->name));
            i += ssize_t(sizeof(inotify_event)) + e->len;
        }
    }
    return int(m_seen.count(fileName));
}

} // namespace param_support
