#pragma once
// The message, question and input boxes of the program, behind one interface so that every
// flow can run headless with scripted answers. Styles and answers use the Windows numbers that
// the rest of the program is written with.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <variant>

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

// Answers boxes from a queue and records every box asked, for tests and headless runs.
// A box asked with no answer queued is reported to the failure handler and answered with the
// style's default button.
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Box, Input, OpenFile, SaveFile };
    struct Asked
    {
        Kind kind = Kind::Box;
        QString text;
        int style = 0;
        QString title;
        QString defaultText;
        FileRequest file;
    };
    using Answer = std::variant<int, std::optional<QString>>;

    void answer(int button) { m_queue.append(Answer(button)); }
    void answerText(const std::optional<QString>& text) { m_queue.append(Answer(text)); }
    // A function that answers every box (after the queue is empty).
    void setResponder(std::function<Answer(const Asked&)> responder) { m_responder = std::move(responder); }
    void setFailureHandler(std::function<void(const QString&)> handler) { m_onFailure = std::move(handler); }

    const QList<Asked>& asked() const { return m_asked; }
    QStringList texts() const;
    void clearAsked() { m_asked.clear(); }
    int pendingAnswers() const { return int(m_queue.size()); }

    int ask(const QString& text, int style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> openFileName(const FileRequest& request) override;
    std::optional<QString> saveFileName(const FileRequest& request) override;

private:
    std::optional<Answer> next(const Asked& a);
    std::optional<QString> textAnswer(const Asked& a);
    void fail(const QString& why);

    QList<Answer> m_queue;
    QList<Asked> m_asked;
    std::function<Answer(const Asked&)> m_responder;
    std::function<void(const QString&)> m_onFailure;
};

} // namespace platform
