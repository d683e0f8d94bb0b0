#pragma once
// Boxes answered from a queue, every box asked recorded: the Dialogs service of the tests.

#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <variant>

namespace testing_support {

// A box asked with no answer queued is reported to the failure handler and answered with the
// style's default button.
class ScriptedDialogs : public platform::Dialogs
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
        platform::FileRequest file;
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
    std::optional<QString> openFileName(const platform::FileRequest& request) override;
    std::optional<QString> saveFileName(const platform::FileRequest& request) override;

private:
    std::optional<Answer> next(const Asked& a);
    std::optional<QString> textAnswer(const Asked& a);
    std::optional<QString> fileAnswer(Kind kind, const platform::FileRequest& request);
    void fail(const QString& why);

    QList<Answer> m_queue;
    QList<Asked> m_asked;
    std::function<Answer(const Asked&)> m_responder;
    std::function<void(const QString&)> m_onFailure;
};

} // namespace testing_support
