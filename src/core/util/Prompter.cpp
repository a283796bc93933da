#include "util/Prompter.h"

#include <atomic>

namespace zentrova {

namespace {
std::atomic<Prompter*> currentPrompter{nullptr};

Prompt makePrompt(Prompt::Kind kind, MessageType type, const QString& title, const QString& text)
{
    Prompt p;
    p.kind = kind;
    p.type = type;
    p.title = title;
    p.text = text;
    return p;
}
} // namespace

Prompter* Prompter::current()
{
    return currentPrompter.load();
}

void Prompter::setCurrent(Prompter* prompter)
{
    currentPrompter.store(prompter);
}

void Prompter::showMessage(MessageType type, const QString& title, const QString& text)
{
    Prompt p = makePrompt(Prompt::Kind::Message, type, title, text);
    ask(p);
}

int Prompter::confirm(const QString& title, const QString& text, Prompt::Buttons buttons, MessageType type)
{
    Prompt p = makePrompt(Prompt::Kind::Confirm, type, title, text);
    p.buttons = buttons;
    return ask(p).choice;
}

int Prompter::chooseOption(const QString& title, const QString& text, MessageType type, const QStringList& options,
                           int defaultOption)
{
    Prompt p = makePrompt(Prompt::Kind::Options, type, title, text);
    p.options = options;
    p.defaultOption = defaultOption;
    return ask(p).choice;
}

std::optional<QString> Prompter::askText(const QString& title, const QString& text, const QString& initial)
{
    Prompt p = makePrompt(Prompt::Kind::TextInput, MessageType::Question, title, text);
    p.initialText = initial;
    const PromptAnswer a = ask(p);
    if (a.choice != OK)
        return std::nullopt;
    return a.text;
}

std::optional<QString> Prompter::askPassphrase(const QString& title, const QString& text)
{
    Prompt p = makePrompt(Prompt::Kind::Passphrase, MessageType::Question, title, text);
    const PromptAnswer a = ask(p);
    if (a.choice != OK)
        return std::nullopt;
    return a.text;
}

std::optional<int> Prompter::chooseFromList(const QString& title, const QString& text, const QStringList& options,
                                            int defaultOption)
{
    Prompt p = makePrompt(Prompt::Kind::Choice, MessageType::Question, title, text);
    p.options = options;
    p.defaultOption = defaultOption;
    const PromptAnswer a = ask(p);
    if (a.choice < 0 || a.choice >= options.size())
        return std::nullopt;
    return a.choice;
}

std::optional<PromptAnswer> Prompter::choose(const ChooserRequest& request)
{
    Prompt p;
    p.kind = Prompt::Kind::Chooser;
    p.title = request.title;
    p.chooser = request;
    PromptAnswer a = ask(p);
    if (a.choice != OK || a.files.isEmpty())
        return std::nullopt;
    return a;
}

void Prompter::showNotice(const QString& text, int delayMs)
{
    Prompt p;
    p.kind = Prompt::Kind::Notice;
    p.text = text;
    p.delayMs = delayMs;
    ask(p);
}

bool Prompter::confirmFileDeletion()
{
    Prompter* prompter = current();
    return prompter
        && prompter->confirm(QStringLiteral("Delete Files Confirmation"), QStringLiteral("You are about to delete files.\n\nAre you sure?"),
                             Prompt::Buttons::OkCancel, MessageType::Warning)
        == OK;
}

} // namespace zentrova
