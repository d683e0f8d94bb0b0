#include "platform/Dialogs.h"

namespace platform {

namespace mb {
QList<int> answersOf(int style)
{
    switch (buttons(style)) {
    case OKCancel:
        return {OK, Cancel};
    case AbortRetryIgnore:
        return {Abort, Retry, Ignore};
    case YesNoCancel:
        return {Yes, No, Cancel};
    case YesNo:
        return {Yes, No};
    case RetryCancel:
        return {Retry, Cancel};
    default:
        return {OK};
    }
}

int defaultAnswer(int style)
{
    const QList<int> answers = answersOf(style);
    int index = 0;
    if (style & DefaultButton3)
        index = 2;
    else if (style & DefaultButton2)
        index = 1;
    return answers.value(index, answers.first());
}

int escapeAnswer(int style)
{
    const QList<int> answers = answersOf(style);
    if (answers.contains(Cancel))
        return Cancel;
    if (answers.size() == 1)
        return answers.first();
    return 0; // Yes/No and Abort/Retry/Ignore boxes cannot be closed without a button
}
} // namespace mb

} // namespace platform
