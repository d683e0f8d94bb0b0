#include "tests/support/ScriptedDialogs.h"

namespace testing_support {

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Asked& a : m_asked)
        out << a.text;
    return out;
}

void ScriptedDialogs::fail(const QString& why)
{
    if (m_onFailure)
        m_onFailure(why);
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::next(const Asked& a)
{
    m_asked.append(a);
    if (!m_queue.isEmpty())
        return m_queue.takeFirst();
    if (m_responder)
        return m_responder(a);
    return std::nullopt;
}

int ScriptedDialogs::ask(const QString& text, int style, const QString& title)
{
    Asked a;
    a.kind = Kind::Box;
    a.text = text;
    a.style = style;
    a.title = title;
    const std::optional<Answer> ans = next(a);
    if (!ans) {
        fail(QStringLiteral("Unexpected box \"%1\": %2").arg(title, text));
        return platform::mb::defaultAnswer(style);
    }
    if (const int* button = std::get_if<int>(&*ans)) {
        if (!platform::mb::answersOf(style).contains(*button))
            fail(QStringLiteral("Answer %1 is not a button of the box \"%2\" (style %3)")
                     .arg(*button)
                     .arg(text)
                     .arg(style));
        return *button;
    }
    fail(QStringLiteral("A text answer was queued for the box \"%1\"").arg(text));
    return platform::mb::defaultAnswer(style);
}

std::optional<QString> ScriptedDialogs::textAnswer(const Asked& a)
{
    const std::optional<Answer> ans = next(a);
    if (!ans) {
        fail(QStringLiteral("Unexpected input \"%1\": %2").arg(a.title, a.text));
        return std::nullopt;
    }
    if (const auto* text = std::get_if<std::optional<QString>>(&*ans))
        return *text;
    fail(QStringLiteral("A button answer was queued for the input \"%1\"").arg(a.text));
    return std::nullopt;
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& prompt, const QString& title,
                                                 const QString& defaultText)
{
    Asked a;
    a.kind = Kind::Input;
    a.text = prompt;
    a.title = title;
    a.defaultText = defaultText;
    return textAnswer(a);
}

std::optional<QString> ScriptedDialogs::fileAnswer(Kind kind, const platform::FileRequest& request)
{
    Asked a;
    a.kind = kind;
    a.text = request.title;
    a.title = request.title;
    a.file = request;
    return textAnswer(a);
}

std::optional<QString> ScriptedDialogs::openFileName(const platform::FileRequest& request)
{
    return fileAnswer(Kind::OpenFile, request);
}

std::optional<QString> ScriptedDialogs::saveFileName(const platform::FileRequest& request)
{
    return fileAnswer(Kind::SaveFile, request);
}

} // namespace testing_support
