#include "UserMessages.h"

#include <cstdio>
#include <mutex>

namespace folionix {

namespace {

void printToStandardError(const QString& text, MessageIcon)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QByteArray bytes = (QLatin1String("folionix: ") + line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

bool answerNo(const QString& question)
{
    printToStandardError(question, MessageIcon::Information);
    return false;
}

struct Handler
{
    std::mutex lock;
    MessageHandler show = printToStandardError;
    QuestionHandler ask = answerNo;
};

Handler& handler()
{
    static Handler h;
    return h;
}

} // namespace

void ShowMessage(const QString& text, MessageIcon icon)
{
    MessageHandler show;
    {
        // Copied out so that a handler may install another one while it runs.
        std::lock_guard guard(handler().lock);
        show = handler().show;
    }
    show(text, icon);
}

void setMessageHandler(MessageHandler messageHandler)
{
    std::lock_guard guard(handler().lock);
    handler().show = messageHandler ? std::move(messageHandler) : MessageHandler(printToStandardError);
}

bool AskYesNo(const QString& question)
{
    QuestionHandler ask;
    {
        std::lock_guard guard(handler().lock);
        ask = handler().ask;
    }
    return ask(question);
}

void setQuestionHandler(QuestionHandler questionHandler)
{
    std::lock_guard guard(handler().lock);
    handler().ask = questionHandler ? std::move(questionHandler) : QuestionHandler(answerNo);
}

} // namespace folionix
