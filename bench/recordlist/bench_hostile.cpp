// Hostile files against the readers that meet them unasked: the record list reads every record
// file of the data folder, the import every sibling file, the grid reader every table. Each file
// must be refused, or read, in under 0.5 s and under 100 MB of peak memory:
//   - a record file of 48 bytes declaring 10,000,000 rows;
//   - a record file of 4 MB (a record's head, then 4,000,000 empty rows);
//   - sibling files of 1 MB and 4 MB of the same kind, and a sparse one of 3 GB;
//   - an older record file of 300 MB (sparse) beside the record it was converted to, for the
//     conversion that every refresh of the record list runs;
//   - 100 MB without a line feed, for the record list's head reader;
//   - a grid file of 200,000 cell settings, each with a font name of its own;
//   - an export log that is a link to /dev/zero, a FIFO, or a file over the log's bound, for the
//     start-up compaction, the record list's dates of last export and an export's log line, and a
//     log just under the bound for the cost of what the bound lets through;
//   - and, for the cost of what the bounds of a record still let through, a record and a sibling
//     record at those bounds (20,000 rows of 72 columns), every cell filled, a record at those
//     bounds whose cells all hold different texts with a cell setting on every row, and a record
//     of 3.96 MB with as many cells, a cell setting and a row key on every row.
//
// Each case runs in a process of its own, forked for it: its first run there, then up to nine more
// (within 3 s), and the growth of the process's peak memory over what it held before the first
// run (VmHWM, reset through /proc/self/clear_refs). A case that takes more than 120 s is stopped;
// one that dies (out of memory, say) is told with the signal that ended it.
// The program prints, per case, the first run, the median of the others and the peak beside the
// goals, and what became of the file.
//
// Run from a build with optimisations (the default RelWithDebInfo). The files take about 190 MB of disk
// for the time of the run (the 3 GB and 300 MB ones are holes).

#include "common/ExportLog.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/MousePointer.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "record/RecordFileLayout.h"
#include "record/RecordStore.h"
#include "recordlist/OlderFileConversion.h"
#include "recordlist/RecordListing.h"
#include "recordlist/RecordSummary.h"
#include "recordlist/SiblingImport.h"
#include "tests/support/HostileFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr double kGoalSeconds = 0.5;
constexpr double kGoalMegabytes = 100;
constexpr int kMoreRuns = 9;
constexpr double kMoreRunsSeconds = 3;
constexpr int kStopAfterSeconds = 120;

// What a reader made of a file: "refusé : " and the reason after the file's name, or what it read.
std::string refusal(const platform::Result& r)
{
    if (r.ok)
        return "lu";
    const qsizetype colon = r.error.indexOf(QStringLiteral(" : "));
    return "refusé : " + (colon < 0 ? r.error : r.error.mid(colon + 3)).toStdString();
}

struct Case
{
    std::string file;
    std::string reader;
    std::function<std::string()> run;
};

struct Files
{
    QTemporaryDir dir;
    std::vector<Case> cases;

    QString folder(const QString& name) const
    {
        QDir(dir.path()).mkpath(name);
        return QDir(dir.path()).filePath(name);
    }
    static QString make(bool made, const QString& path)
    {
        if (!made)
            std::abort();
        return path;
    }
    static std::string listed(const QString& path)
    {
        return refusal(recordlist::readRecordSummary(path).result);
    }
    static std::string converted(const QString& folder)
    {
        const recordlist::ConversionReport r = recordlist::convertOlderFiles(folder);
        if (!r.skipped.isEmpty())
            return refusal(platform::Result::failure(r.skipped.first().reason));
        return r.converted.isEmpty() ? "rien" : "converti";
    }
    static std::string imported(const QString& folder)
    {
        const recordlist::ImportReport r = recordlist::sub_Migration_Pomerel_Mirelot(folder);
        if (!r.problems.isEmpty())
            return refusal(platform::Result::failure(r.problems.first()));
        return r.imported.isEmpty() ? "rien" : "importé";
    }

    Files()
    {
        using namespace hostile_files;
        const QString name =
            QStringLiteral("SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010~Passage N1.FLX2009");
        const QString tiny =
            make(declaredRows(folder("48") + "/" + name, 10'000'000, 1), folder("48") + "/" + name);
        const QString four =
            make(padded(folder("4M") + "/" + name, recordHead(), 4'000'000), folder("4M") + "/" + name);
        const QString bounds = folder("bounds") + "/" + name;
        make(dense(bounds, QStringLiteral("SHOC"), int(record::file::kMaxFileRows),
                   record::file::kMaxFileBytes),
             bounds);
        const QString different = folder("distinct") + "/" + name;
        make(distinct(different, QStringLiteral("SHOC"), int(record::file::kMaxFileRows),
                      record::file::kMaxFileBytes),
             different);
        const QString older = folder("older 300M");
        make(sparse(older + "/SHOC-26-A~PASSAGE N1.FLX", 300LL << 20), older);
        make(padded(older + "/SHOC-26-A~PASSAGE N1.FLX2009", recordHead(), 1000), older);
        const QString formatted = folder("formatted") + "/" + name;
        make(formattedRows(formatted, int(record::file::kMaxFileRows), 4'152'360), formatted);
        const QString siblingBounds = folder("Pomerel bounds");
        make(dense(siblingBounds + "/Ravelin-1.RVX", QStringLiteral("Ravelin"),
                   int(record::file::kMaxFileRows), record::file::kMaxFileBytes),
             siblingBounds);
        const QString noLineFeed = folder("100M") + "/" + name;
        make(withoutLineFeed(noLineFeed, 100'000'000), noLineFeed);
        const QString formats = folder("formats") + "/Espèces.DOV";
        make(cellFormats(formats, 200'000), formats);
        const QString sibling1 = folder("Pomerel 1M");
        make(padded(sibling1 + "/Ravelin-1.RVX", siblingHead(), 1'000'000), sibling1);
        const QString sibling4 = folder("Pomerel 4M");
        make(padded(sibling4 + "/Ravelin-1.RVX", siblingHead(), 4'000'000), sibling4);
        const QString sparse3 = folder("Pomerel 3G");
        make(sparse(sparse3 + "/Ravelin-1.RVX", 3LL << 30), sparse3);

        const auto loaded = [](const QString& path) {
            grid::Grid g;
            return refusal(grid::GridFile::load(g, path, grid::GridFile::Complete));
        };
        const auto opened = [](const QString& path) {
            grid::Grid g;
            const QFileInfo f(path);
            return refusal(record::RecordStore(f.absolutePath()).load(f.fileName(), g));
        };
        const auto head = [](const QString& path) {
            const auto all = [](int, const QList<QStringList>&) { return 72; };
            return refusal(grid::GridFile::readHead(path, 41, all).result);
        };
        cases = {
            {"record of 48 bytes, 10,000,000 rows declared", "grid reader", [=] { return loaded(tiny); }},
            {"record of 48 bytes, 10,000,000 rows declared", "record list", [=] { return listed(tiny); }},
            {"record of 4 MB", "record list", [=] { return listed(four); }},
            {"record of 4 MB", "record window", [=] { return opened(four); }},
            {"record at the bounds, every cell filled", "record window", [=] { return opened(bounds); }},
            {"record at the bounds, every cell filled", "record list", [=] { return listed(bounds); }},
            {"record at the bounds, texts different, settings", "record window",
             [=] { return opened(different); }},
            {"record at the bounds, texts different, settings", "record list",
             [=] { return listed(different); }},
            {"record of 3.96 MB, a setting and key a row", "record window",
             [=] { return opened(formatted); }},
            {"record of 3.96 MB, a setting and key a row", "record list", [=] { return listed(formatted); }},
            {"sibling record at the bounds, every cell filled", "import",
             [=] { return imported(siblingBounds); }},
            {"sibling record of 1 MB", "import", [=] { return imported(sibling1); }},
            {"sibling record of 4 MB", "import", [=] { return imported(sibling4); }},
            {"sibling record of 3 GB (sparse)", "import", [=] { return imported(sparse3); }},
            {"older file of 300 MB (sparse) beside its record", "conversion",
             [=] { return converted(older); }},
            {"100 MB without a line feed", "record list", [=] { return listed(noLineFeed); }},
            {"100 MB without a line feed", "head reader", [=] { return head(noLineFeed); }},
            {"200,000 cell settings and fonts", "grid reader", [=] { return loaded(formats); }},
        };
        addExportLogCases();
    }
    void addExportLogCases();
};

// An export log of distinct lines, as exports write them, of at least `bytes` bytes.
bool exportLog(const QString& path, long long bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray block;
    for (long long written = 0, i = 0; written < bytes; ++i) {
        block += QStringLiteral("SHOC-26~Site %1~DUPONT Jean~Hiver 2009-2010~Passage N1.FLX2009\t05/11/2009 "
                                "10:12:30\r\n")
                     .arg(i, 7, 10, QLatin1Char('0'))
                     .toUtf8();
        if (block.size() >= (1 << 20) || written + block.size() >= bytes) {
            if (f.write(block) != block.size())
                return false;
            written += block.size();
            block.clear();
        }
    }
    return true;
}

// The export log under three hostile forms and just under its bound, each met by its three
// readers: the start-up compaction, the record list's dates of last export, an export's line.
void Files::addExportLogCases()
{
    const auto logIn = [this](const QString& name) { return folder(name) + "/" + common::kExportLogFile; };
    const QString link = logIn("log link");
    make(QFile::link(QStringLiteral("/dev/zero"), link), link);
    const QString fifo = logIn("log fifo");
    make(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0, fifo);
    const QString over = logIn("log over");
    make(exportLog(over, common::kExportLogMaxBytes + (16LL << 20)), over);
    const QString under = logIn("log under");
    make(exportLog(under, common::kExportLogMaxBytes - (8LL << 10)), under);
    const std::string bound = std::to_string(common::kExportLogMaxBytes >> 20) + " MiB";
    const std::pair<QString, std::string> logs[] = {
        {link, "log linked to /dev/zero"},
        {fifo, "log that is a FIFO"},
        {over, "log 16 MiB over its bound of " + bound},
        {under, "log just under its bound of " + bound},
    };
    for (const auto& [path, label] : logs) {
        const QString dir = QFileInfo(path).absolutePath();
        cases.push_back({label, "start-up", [dir] {
                             grid::Grid work;
                             return refusal(sub_Load_Log_Export(dir, work));
                         }});
        cases.push_back(
            {label, "record list", [dir] { return refusal(recordlist::lastExportDates(dir).result); }});
        cases.push_back({label, "export", [dir] {
                             return refusal(common::logExports(
                                 dir, {QStringLiteral("SHOC-26~Valence~Passage N1.FLX2009")}));
                         }});
    }
}

Files& files()
{
    static Files f;
    return f;
}

long statusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + key.size());
    return -1;
}

struct Measure
{
    bool ran = false;      // not left out by a filter
    bool finished = false; // within the time allowed
    double ended = 0;      // seconds, when it did not finish: until it died or was stopped
    int signal = 0;        // the signal that ended it, when it died of itself
    double first = 0;      // seconds
    double median = 0;     // seconds, of the runs after the first
    int runs = 0;
    double peak = 0; // MB of growth over the process's memory before the first run
    std::string outcome;
};

// In the forked process: the runs and the peak, one line on the pipe.
[[noreturn]] void measureHere(const Case& c, int out)
{
    {
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5"; // the peak starts again from the memory held now
    }
    const long before = statusKilobytes("VmRSS");
    using Clock = std::chrono::steady_clock;
    const auto timed = [&c](std::string* outcome) {
        const auto start = Clock::now();
        *outcome = c.run();
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    std::string outcome;
    const double first = timed(&outcome);
    std::vector<double> more;
    double spent = first;
    while (int(more.size()) < kMoreRuns && spent < kMoreRunsSeconds) {
        std::string again;
        more.push_back(timed(&again));
        spent += more.back();
    }
    std::sort(more.begin(), more.end());
    const double median = more.empty() ? first : more[more.size() / 2];
    const long peak = statusKilobytes("VmHWM");
    std::ostringstream line;
    line << first << '\t' << median << '\t' << more.size() + 1 << '\t' << double(peak - before) / 1024 << '\t'
         << outcome << '\n';
    const std::string text = line.str();
    if (::write(out, text.data(), text.size()) < 0)
        ::_exit(1);
    ::_exit(0);
}

Measure measureInFreshProcess(const Case& c)
{
    Measure m;
    int fds[2];
    if (::pipe(fds) != 0)
        return m;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        measureHere(c, fds[1]);
    }
    ::close(fds[1]);
    std::string text;
    const auto started = std::chrono::steady_clock::now();
    bool timedOut = false;
    pollfd p{fds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kStopAfterSeconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0) {
            timedOut = true;
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, size_t(n));
    }
    ::close(fds[0]);
    m.ended = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // The pipe closes when the child ends; one still running when the time is up is stopped.
    const bool stopped = timedOut && (text.empty() || text.back() != '\n');
    if (stopped)
        ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!stopped && WIFSIGNALED(status))
        m.signal = WTERMSIG(status);
    std::istringstream line(text);
    line >> m.first >> m.median >> m.runs >> m.peak;
    line.get();
    std::getline(line, m.outcome);
    m.finished = !text.empty() && !line.fail();
    return m;
}

std::vector<Measure>& measures()
{
    static std::vector<Measure> m(files().cases.size());
    return m;
}

void BM_Hostile(benchmark::State& state, size_t which)
{
    Measure m;
    for (auto _ : state) {
        m = measureInFreshProcess(files().cases[which]);
        m.ran = true;
        state.SetIterationTime(m.finished ? m.first : m.ended);
    }
    state.counters["peak_MB"] = m.peak; // the time shown is the first run's
    measures()[which] = m;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // The import shows no box and no pointer here; the services are there all the same.
    platform::Registry settings{QString()};
    platform::SystemClock clock;
    platform::NoScreenPointer pointer;
    platform::installServices({&settings, nullptr, nullptr, &clock, nullptr, &pointer, nullptr});
    std::printf("Writing the hostile files...\n");
    for (size_t i = 0; i < files().cases.size(); ++i) {
        const Case& c = files().cases[i];
        benchmark::RegisterBenchmark(("BM_Hostile/" + c.reader + "/" + c.file).c_str(), BM_Hostile, i)
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();

    std::printf("\nHostile files, each in a fresh process: refused or read in under %.1f s and under %.0f MB "
                "of peak memory\n",
                kGoalSeconds, kGoalMegabytes);
    std::printf("  %-46s %-13s %10s %10s %9s  %-5s %s\n", "file", "reader", "first", "median", "peak", "goal",
                "outcome");
    for (size_t i = 0; i < files().cases.size(); ++i) {
        const Case& c = files().cases[i];
        const Measure& m = measures()[i];
        if (!m.ran)
            continue;
        if (!m.finished) {
            if (m.signal != 0)
                std::printf("  %-46s %-13s   died of signal %d after %.1f s  %s\n", c.file.c_str(),
                            c.reader.c_str(), m.signal, m.ended, "FAILED");
            else
                std::printf("  %-46s %-13s   stopped after %d s  %s\n", c.file.c_str(), c.reader.c_str(),
                            kStopAfterSeconds, "TOO SLOW");
            continue;
        }
        const bool ok = m.first < kGoalSeconds && m.median < kGoalSeconds && m.peak < kGoalMegabytes;
        std::printf("  %-46s %-13s %7.1f ms %7.1f ms %6.1f MB  %-5s %s\n", c.file.c_str(), c.reader.c_str(),
                    m.first * 1e3, m.median * 1e3, m.peak, ok ? "ok" : "OVER", m.outcome.c_str());
    }
    benchmark::Shutdown();
    return 0;
}
