#pragma once
// The platform services a benchmark installs, as the program does at start: settings in memory,
// the system clock, a pointer shown nowhere, and boxes answered with their default button. A box
// that comes up is printed on the error output: a benchmark is meant to show none.

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/MousePointer.h"
#include "platform/Registry.h"
#include "platform/Services.h"

#include <cstdio>

namespace bench_support {

class DefaultAnswers : public platform::Dialogs
{
public:
    int ask(const QString& text, int style, const QString& title) override
    {
        std::fprintf(stderr, "box %s: %s\n", qPrintable(title), qPrintable(text));
        return platform::mb::defaultAnswer(style);
    }
    std::optional<QString> inputBox(const QString& prompt, const QString&, const QString&) override
    {
        std::fprintf(stderr, "input box: %s\n", qPrintable(prompt));
        return std::nullopt;
    }
    std::optional<QString> openFileName(const platform::FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const platform::FileRequest&) override { return std::nullopt; }
};

struct BenchServices
{
    platform::Registry registry{QString()};
    platform::SystemClock clock;
    platform::NoScreenPointer pointer;
    DefaultAnswers dialogs;

    BenchServices()
    {
        platform::Services s;
        s.registry = &registry;
        s.clock = &clock;
        s.pointer = &pointer;
        s.dialogs = &dialogs;
        platform::installServices(s);
    }
    BenchServices(const BenchServices&) = delete;
    BenchServices& operator=(const BenchServices&) = delete;
};

} // namespace bench_support
