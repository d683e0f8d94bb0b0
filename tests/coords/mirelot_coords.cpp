// mirelot-coords: runs the coordinate conversion over lines of standard input, one output line
// per input line, fields separated by tabs. Used by the golden tests and the benchmarks; not
// installed with the program.
//
//   mirelot-coords [--threads=N] [--decimal=,|--decimal=.] COMMAND ARGUMENTS < input > output
//
// Inputs of 2000 lines or more are converted in blocks on N threads (by default one per
// processor, at most 64 whatever is asked; N is a whole number from 1 up); the output keeps the
// order of the input.
//
//   ntf-to-dms DATUM   in "lambda phi" (NTF grads)         out "longitude latitude" (texts)
//   dms-to-ntf DATUM   in "longitude latitude" (texts)     out "lambda phi" (NTF grads)
//   lambert ZONE       in "X Y" (the zone's metres)        out "lambda phi X Y" (NTF grads,
//                                                          then the Lambert II étendu point)
//   validate TYPE      in "longitude latitude"             out "error message longitude latitude"
//   convert TYPE [ZONE] in "first second third" (the source slots of TYPE; for type 4 the
//                      reference alone will do)           out "error message" then the first,
//                                                          second and third value of slots 0 to 4
//   distance           in "lon1 lat1 lon2 lat2" (texts)    out kilometres
//
// Input fields are separated by tabs when the line holds one, otherwise by blanks. Numbers are
// read with "." or "," and written with the chosen separator. A line that cannot be converted
// gives "-1".

#include "coords/Conversion.h"
#include "coords/CoordinateValidation.h"
#include "coords/Distance.h"
#include "coords/Lambert.h"
#include "coords/Ntf.h"
#include "coords/NumberText.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

using namespace coords;

namespace {

int usage()
{
    std::fputs("usage: mirelot-coords [--threads=N] [--decimal=,|--decimal=.] COMMAND ARGUMENTS < input\n"
               "  ntf-to-dms DATUM | dms-to-ntf DATUM | lambert ZONE | validate TYPE\n"
               "  convert TYPE ZONE | distance\n",
               stderr);
    return 2;
}

QStringList fields(const QString& line)
{
    if (line.contains(QLatin1Char('\t')))
        return line.split(QLatin1Char('\t'));
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

std::optional<double> numberOf(const QString& t)
{
    const NumberReading l = readNumberAnySeparator(t);
    if (!l.ok())
        return std::nullopt;
    return l.value;
}

QString joinFields(std::initializer_list<QString> fields)
{
    return QStringList(fields).join(QLatin1Char('\t'));
}

const QString FAILED = QStringLiteral("-1");

// More threads than this gain nothing on the machines the driver runs on, and thousands of them
// exhaust the system's limits.
constexpr size_t kMaxThreads = 64;

// The count of "--threads=N": a whole number from 1 up, bounded to kMaxThreads; nullopt for
// anything else.
std::optional<size_t> threadCount(const std::string& text)
{
    unsigned long long n = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, n);
    if (p != end || ec == std::errc::invalid_argument)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        return kMaxThreads;
    if (n == 0)
        return std::nullopt;
    return size_t(std::min<unsigned long long>(n, kMaxThreads));
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    // Threads: all the processor's by default, for inputs of 2000 lines or more.
    size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, kMaxThreads);
    if (!args.empty() && args[0].rfind("--threads=", 0) == 0) {
        const std::optional<size_t> n = threadCount(args[0].substr(10));
        if (!n) {
            std::fprintf(stderr,
                         "mirelot-coords: %s: the number of threads must be a whole number from 1 up\n",
                         args[0].c_str());
            return usage();
        }
        threads = *n;
        args.erase(args.begin());
    }
    QChar separator = QLatin1Char('.');
    if (!args.empty() && args[0].rfind("--decimal=", 0) == 0) {
        const std::string s = args[0].substr(10);
        if (s != "," && s != ".")
            return usage();
        separator = QLatin1Char(s[0]);
        args.erase(args.begin());
    }
    if (args.empty() || (args.size() < 2 && args[0] != "distance"))
        return usage();
    setDecimalSeparator(separator);
    const std::string command = args[0];
    const QString argument = args.size() > 1 ? QString::fromUtf8(args[1]) : QString();

    std::function<QString(const QStringList&)> convertLine;
    if (command == "ntf-to-dms") {
        convertLine = [&](const QStringList& f) {
            if (f.size() < 2)
                return FAILED;
            const auto l = numberOf(f[0]);
            const auto p = numberOf(f[1]);
            if (!l || !p)
                return FAILED;
            const auto r = sub_NTF_To_DMS(float(*l), float(*p), argument);
            return r ? joinFields({r->longitude, r->latitude}) : FAILED;
        };
    } else if (command == "dms-to-ntf") {
        convertLine = [&](const QStringList& f) {
            if (f.size() < 2)
                return FAILED;
            const auto r = sub_DMS_To_NTF(f[0], f[1], argument);
            return r ? joinFields({generalText(r->lambda), generalText(r->phi)}) : FAILED;
        };
    } else if (command == "lambert") {
        convertLine = [&](const QStringList& f) {
            if (f.size() < 2)
                return FAILED;
            const auto x = numberOf(f[0]);
            const auto y = numberOf(f[1]);
            if (!x || !y)
                return FAILED;
            const auto r = sub_Lambert_To_NTF(*x, *y, argument);
            if (!r)
                return FAILED;
            const QString zone = argument == u"*" ? QStringLiteral("2E") : argument;
            LambertPoint e{*x, *y};
            if (lambertZoneIndex(zone) != lambertZoneIndex(QStringLiteral("2E"))) {
                const auto z = sub_Lambert_Zone(zone, QStringLiteral("2E"), *x, *y);
                if (!z)
                    return FAILED;
                e = *z;
            }
            return joinFields({r->lambda, r->phi, generalText(e.X), generalText(e.Y)});
        };
    } else if (command == "validate") {
        convertLine = [&](const QStringList& f) {
            QString lon = f.value(0);
            QString lat = f.value(1);
            const CoordinateCheck v = fun_Verif_Coordonnees(lon, lat, true, argument);
            return joinFields({QString::number(v.error), v.message, lon, lat});
        };
    } else if (command == "convert") {
        bool ok = false;
        const int type = argument.toInt(&ok);
        if (!ok)
            return usage();
        // No ZONE argument: an empty zone.
        const QString zone = args.size() > 2 ? QString::fromUtf8(args[2]) : QString();
        convertLine = [type, zone](const QStringList& f) {
            CoordinateSlots x, y, z;
            if (type >= 0 && type <= 4) {
                if (type == TYPE_MGRS && f.size() == 1) {
                    z[type] = f[0];
                } else {
                    x[type] = f.value(0);
                    y[type] = f.value(1);
                    z[type] = f.value(2);
                }
            }
            const ConversionResult r = sub_Convertir_Coordonnees(x, y, z, type, zone);
            QString output;
            output.reserve(256);
            output += QString::number(r.error);
            output += QLatin1Char('\t');
            output += r.message;
            for (int k = 0; k < 5; ++k)
                for (const CoordinateSlots* s : {&x, &y, &z}) {
                    output += QLatin1Char('\t');
                    output += slotText((*s)[k]);
                }
            return output;
        };
    } else if (command == "distance") {
        convertLine = [](const QStringList& f) {
            return generalText(fun_Get_Distance_WGS84(f.value(0), f.value(1), f.value(2), f.value(3)));
        };
    } else {
        return usage();
    }

    std::string input;
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        input.append(buffer, n);

    // Lines, then blocks of lines converted side by side; the outputs keep the input's order.
    struct Line
    {
        size_t start, length;
    };
    std::vector<Line> lines;
    for (size_t start = 0; start < input.size();) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        size_t length = end - start;
        if (length > 0 && input[start + length - 1] == '\r')
            --length;
        lines.push_back({start, length});
        start = end + 1;
    }
    if (lines.size() < 2000)
        threads = 1;
    threads = std::max<size_t>(1, std::min(threads, lines.size()));
    std::vector<QByteArray> outputs(threads);
    auto convertAll = [&](size_t k) {
        const size_t first = lines.size() * k / threads;
        const size_t last = lines.size() * (k + 1) / threads;
        QString block;
        block.reserve(qsizetype(last - first) * 160);
        for (size_t i = first; i < last; ++i) {
            const QString line = QString::fromUtf8(input.data() + lines[i].start, qsizetype(lines[i].length));
            block += convertLine(fields(line));
            block += QLatin1Char('\n');
        }
        outputs[k] = block.toUtf8();
    };
    std::vector<std::thread> workers;
    size_t k = 1;
    try {
        for (; k < threads; ++k)
            workers.emplace_back(convertAll, k);
    } catch (const std::system_error&) {
        // The system refuses another thread: the blocks left are converted here.
        for (; k < threads; ++k)
            convertAll(k);
    }
    convertAll(0);
    for (std::thread& t : workers)
        t.join();
    for (const QByteArray& o : outputs)
        std::fwrite(o.constData(), 1, size_t(o.size()), stdout);
    return 0;
}
