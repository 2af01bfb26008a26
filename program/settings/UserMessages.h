#pragma once

#include <QString>
#include <functional>

namespace folionix {

// The icon a message is shown with.
enum class MessageIcon
{
    Information,
    Warning,
    Error
};

// Shows a message to the user through the installed handler. Lines are separated by CR, as the
// message texts are written; the handler decides how to break them.
void ShowMessage(const QString& text, MessageIcon icon);

// Where messages go: a dialog in the GUI, standard error elsewhere, a recorder in tests.
using MessageHandler = std::function<void(const QString& text, MessageIcon icon)>;

// Installs messageHandler; an empty handler restores the default (standard error, prefixed "folionix: ").
void setMessageHandler(MessageHandler messageHandler);

// Asks the user a question with Yes and No; true for Yes. Without an installed handler the question
// goes to standard error and the answer is No (nobody is there to answer).
bool AskYesNo(const QString& question);
using QuestionHandler = std::function<bool(const QString& question)>;
// Installs questionHandler; an empty handler restores the default.
void setQuestionHandler(QuestionHandler questionHandler);

} // namespace folionix
