#pragma once
// The runner and reporter shared by the benchmark programs. A user waits for the first run of an
// operation in a program just started, and then for the usual run: each benchmark therefore runs
// in a process of its own (the program starts itself again, once per benchmark), one iteration a
// repetition, so that its first repetition is the first run of a fresh process and the others
// give the median. The program then prints both beside each goal.
//
// A benchmark is registered with ->Iterations(1)->Repetitions(n), n at least 2, and builds its
// sample data on first use, before its timed loop, in the process that runs it (not in main):
//
//   int main(int argc, char** argv)
//   {
//       return bench_support::runEachFresh(argc, argv, [](const bench_support::Runs& runs) {
//           bench_support::printAgainstFloor("load", runs["BM_Load"], runs["BM_Floor"], 2.0);
//       });
//   }
//
// The benchmark flags (--benchmark_filter ...) choose the benchmarks as usual; the times are real
// (wall-clock) times in milliseconds.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace bench_support {

// The times of one benchmark, in milliseconds; negative when it did not run.
struct RunTimes
{
    double first = -1;  // the first repetition, in a fresh process
    double median = -1; // of the later repetitions
    int runs = 0;
    std::map<std::string, double> counters; // of the first repetition

    bool ran() const { return runs >= 2 && first >= 0 && median >= 0; }
};

// The times of every benchmark run, by its function name and arguments ("BM_Load",
// "BM_Load/reference:1"): the decorations of the repetitions ("iterations:1", "repeats:5",
// "real_time") are left out.
class Runs
{
public:
    const RunTimes& operator[](const std::string& name) const
    {
        static const RunTimes none;
        const auto it = m_times.find(name);
        return it == m_times.end() ? none : it->second;
    }
    std::map<std::string, RunTimes>& all() { return m_times; }
    const std::map<std::string, RunTimes>& all() const { return m_times; }

private:
    std::map<std::string, RunTimes> m_times;
};

// A time in milliseconds with three significant digits or more: "1234 ms", "12.3 ms", "0.123 ms".
inline std::string millis(double ms)
{
    char text[32];
    std::snprintf(text, sizeof text, ms >= 100 ? "%.0f ms" : ms >= 10 ? "%.1f ms" : "%.3f ms", ms);
    return text;
}

namespace detail {

inline const char* kRunsFileVariable = "MIRELOT_BENCH_RUNS_FILE";

inline std::string nameOf(const benchmark::BenchmarkReporter::Run& run)
{
    return run.run_name.args.empty() ? run.run_name.function_name
                                     : run.run_name.function_name + "/" + run.run_name.args;
}

// In the process that runs one benchmark: each repetition as a line of the runs file (name, index,
// milliseconds, counters); failures on the error output.
class ChildReporter : public benchmark::BenchmarkReporter
{
public:
    explicit ChildReporter(const char* path) : m_out(path) {}

    bool ReportContext(const Context&) override { return bool(m_out); }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            if (run.error_occurred) {
                std::fprintf(stderr, "%s: %s\n", run.benchmark_name().c_str(), run.error_message.c_str());
                m_out << "!\t" << nameOf(run) << '\n';
                continue;
            }
            const double ms = run.real_accumulated_time * 1e3 / double(std::max<int64_t>(1, run.iterations));
            m_out << nameOf(run) << '\t' << run.repetition_index << '\t' << ms;
            for (const auto& [counter, value] : run.counters)
                m_out << '\t' << counter << '=' << value.value;
            m_out << '\n';
        }
        m_out.flush();
    }

private:
    std::ofstream m_out;
};

inline double medianOf(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Reads a runs file into runs; false when a repetition failed.
inline bool readRunsFile(const QString& path, Runs& runs)
{
    std::ifstream in(path.toStdString());
    std::map<std::string, std::vector<std::pair<long, double>>> times;
    std::map<std::string, std::map<std::string, double>> counters;
    bool ok = true;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, index, ms;
        std::getline(fields, name, '\t');
        if (name == "!") {
            ok = false;
            continue;
        }
        std::getline(fields, index, '\t');
        std::getline(fields, ms, '\t');
        const long repetition = std::strtol(index.c_str(), nullptr, 10);
        times[name].push_back({repetition, std::strtod(ms.c_str(), nullptr)});
        std::string counter;
        while (repetition == 0 && std::getline(fields, counter, '\t'))
            if (const size_t eq = counter.find('='); eq != std::string::npos)
                counters[name][counter.substr(0, eq)] = std::strtod(counter.c_str() + eq + 1, nullptr);
    }
    for (auto& [name, list] : times) {
        std::sort(list.begin(), list.end());
        RunTimes& t = runs.all()[name];
        t.runs = int(list.size());
        t.first = list.front().second;
        std::vector<double> later;
        for (size_t i = 1; i < list.size(); ++i)
            later.push_back(list[i].second);
        t.median = medianOf(later);
        t.counters = counters[name];
    }
    return ok;
}

// A name as a regular expression matching it alone.
inline std::string exactPattern(const std::string& name)
{
    std::string out = "^";
    for (const char ch : name) {
        if (std::string(".[]()*+?{}|^$\\").find(ch) != std::string::npos)
            out += '\\';
        out += ch;
    }
    return out + "$";
}

// The full names of the benchmarks the command line chooses.
inline std::vector<std::string> chosenBenchmarks(const std::vector<std::string>& userArgs,
                                                 const char* program)
{
    std::vector<std::string> args{program};
    args.insert(args.end(), userArgs.begin(), userArgs.end());
    args.push_back("--benchmark_list_tests=true");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    int argc = int(argv.size());
    benchmark::Initialize(&argc, argv.data());
    std::ostringstream names;
    benchmark::ConsoleReporter lister;
    lister.SetOutputStream(&names);
    lister.SetErrorStream(&names);
    benchmark::RunSpecifiedBenchmarks(&lister);
    std::vector<std::string> out;
    std::istringstream lines(names.str());
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            out.push_back(line);
    return out;
}

} // namespace detail

// Runs each benchmark the command line chooses in a process of its own, prints its first and
// median runs, then calls summary with all the times. In the process started for one benchmark,
// runs it and records its repetitions. Returns the program's exit status.
inline int runEachFresh(int argc, char** argv, const std::function<void(const Runs&)>& summary)
{
    if (const char* runsFile = std::getenv(detail::kRunsFileVariable)) {
        benchmark::Initialize(&argc, argv);
        detail::ChildReporter reporter(runsFile);
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        return 0;
    }

    const std::vector<std::string> userArgs(argv + 1, argv + argc);
    const std::vector<std::string> names = detail::chosenBenchmarks(userArgs, argv[0]);
    const QString program = QFileInfo::exists(QStringLiteral("/proc/self/exe"))
                                ? QStringLiteral("/proc/self/exe")
                                : QString(argv[0]);
    QTemporaryDir dir;
    Runs runs;
    int status = 0;
    std::printf("Each benchmark in a fresh process: its first run, and the median of the later ones\n");
    for (size_t i = 0; i < names.size(); ++i) {
        const QString runsFile = dir.filePath(QString::number(i));
        QStringList args;
        for (const std::string& a : userArgs)
            args << QString::fromStdString(a);
        args << QString::fromStdString("--benchmark_filter=" + detail::exactPattern(names[i]));
        QProcess child;
        child.setProgram(program);
        child.setArguments(args);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(detail::kRunsFileVariable), runsFile);
        child.setProcessEnvironment(env);
        std::fflush(stdout);
        child.start();
        const bool finished = child.waitForFinished(-1);
        Runs one;
        const bool complete = detail::readRunsFile(runsFile, one);
        if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || !complete ||
            one.all().empty()) {
            std::printf("  %-44s FAILED\n", names[i].c_str());
            status = 1;
        }
        for (const auto& [name, t] : one.all()) {
            std::printf("  %-44s first %10s   median %10s   (%d runs)", name.c_str(), millis(t.first).c_str(),
                        millis(t.median).c_str(), t.runs);
            for (const auto& [counter, value] : t.counters)
                std::printf("  %s %g", counter.c_str(), value);
            std::printf("\n");
            runs.all()[name] = t;
        }
    }
    std::printf("\n");
    summary(runs);
    return status;
}

// ---- The summary lines: each figure beside its goal.

inline const char* verdict(bool met) { return met ? "ok" : "MISSED"; }

// "label  first 12.3 ms = 1.23x (goal 1.30x: ok)  median ...": each run against the same run of
// the floor.
inline void printAgainstFloor(const std::string& label, const RunTimes& t, const RunTimes& floor, double goal)
{
    if (!t.ran() || !floor.ran() || floor.first <= 0 || floor.median <= 0)
        return;
    const double first = t.first / floor.first, median = t.median / floor.median;
    std::printf("  %-36s first %10s = %5.2fx (goal %.2fx: %s)   median %10s = %5.2fx (goal %.2fx: %s)\n",
                label.c_str(), millis(t.first).c_str(), first, goal, verdict(first <= goal),
                millis(t.median).c_str(), median, goal, verdict(median <= goal));
}

// "label  first 123 ms (goal 300 ms: ok)  median 100 ms (goal 300 ms: ok)".
inline void printAgainstLimit(const std::string& label, const RunTimes& t, double goalMs)
{
    if (!t.ran())
        return;
    std::printf("  %-36s first %10s (goal %s: %s)   median %10s (goal %s: %s)\n", label.c_str(),
                millis(t.first).c_str(), millis(goalMs).c_str(), verdict(t.first <= goalMs),
                millis(t.median).c_str(), millis(goalMs).c_str(), verdict(t.median <= goalMs));
}

// The times alone, for a floor or a figure without a goal of its own.
inline void printTimes(const std::string& label, const RunTimes& t)
{
    if (!t.ran())
        return;
    std::printf("  %-36s first %10s   median %10s\n", label.c_str(), millis(t.first).c_str(),
                millis(t.median).c_str());
}

} // namespace bench_support
