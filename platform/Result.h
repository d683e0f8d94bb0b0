#pragma once
// The outcome of an operation that can fail: success, or the reason as a French text that names
// the file or the value concerned. The reason travels unchanged up to the box the user sees.

#include <QString>

#include <utility>

namespace platform {

struct [[nodiscard]] Result
{
    bool ok = false;
    QString error; // why it failed, in French; empty on success

    explicit operator bool() const { return ok; }
    static Result success() { return {true, {}}; }
    static Result failure(const QString& why) { return {false, why}; }
};

// The outcome of an operation that gives a value: the value holds only on success.
template <typename T> struct [[nodiscard]] ResultOf
{
    Result result;
    T value{};

    explicit operator bool() const { return result.ok; }
    static ResultOf success(T v) { return {Result::success(), std::move(v)}; }
    static ResultOf failure(const QString& why) { return {Result::failure(why), T{}}; }
    static ResultOf failure(Result failed) { return {std::move(failed), T{}}; }
};

} // namespace platform
