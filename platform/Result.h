#pragma once
// The outcome of an operation that can fail: success, or the reason as a French text that names
// the file or the value concerned. The reason travels unchanged up to the box the user sees.

#include <QString>

namespace platform {

struct [[nodiscard]] Result
{
    bool ok = false;
    QString error; // why it failed, in French; empty on success

    explicit operator bool() const { return ok; }
    static Result success() { return {true, {}}; }
    static Result failure(const QString& why) { return {false, why}; }
};

} // namespace platform
