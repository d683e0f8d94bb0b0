#pragma once
// The message, question and input boxes of the program, behind one interface so that every
// flow can run headless with scripted answers. Styles and answers use the Windows numbers that
// the rest of the program is written with.

#include <QList>
#include <QString>
#include <optional>

namespace platform {

namespace mb {
// Button sets
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
// Icons
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
// Default button
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
// Answers
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;

inline int buttons(int style) { return style & 0x0F; }
inline int icon(int style) { return style & 0x70; }
// The answers a style offers, in the order of its buttons.
QList<int> answersOf(int style);
// The answer of the default button of a style.
int defaultAnswer(int style);
// The answer given when the box is closed without a button (Escape, window close).
int escapeAnswer(int style);
} // namespace mb

struct FileRequest
{
    QString title;
    QString folder;
    QString fileName;
    QString filter; // "Description (*.ext)|*.ext" pairs as the program writes them, or Qt filters
    int filterIndex = 1;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A modal box; returns the answer of the button pressed.
    virtual int ask(const QString& text, int style, const QString& title) = 0;
    // A one-line input box; nullopt when cancelled.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // File choosers; nullopt when cancelled.
    virtual std::optional<QString> openFileName(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFileName(const FileRequest& request) = 0;
};

} // namespace platform
