#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace zentrova::test {

ScriptedPrompter& ScriptedPrompter::expect(Prompt::Kind kind, const QString& title, PromptAnswer answer,
                                           std::optional<QString> text)
{
    std::lock_guard lock(mutex);
    queue.append({kind, title, std::move(text), std::move(answer)});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::expectChoice(Prompt::Kind kind, const QString& title, int choice)
{
    PromptAnswer a;
    a.choice = choice;
    return expect(kind, title, a);
}

ScriptedPrompter& ScriptedPrompter::expectText(Prompt::Kind kind, const QString& title, const QString& text)
{
    PromptAnswer a;
    a.choice = Prompter::OK;
    a.text = text;
    return expect(kind, title, a);
}

PromptAnswer ScriptedPrompter::ask(const Prompt& prompt)
{
    std::lock_guard lock(mutex);
    seen.append(prompt);
    if (queue.isEmpty()) {
        ADD_FAILURE() << "unexpected prompt \"" << prompt.title.toStdString() << "\": " << prompt.text.toStdString();
        return {};
    }
    const Expected next = queue.takeFirst();
    if (next.kind != prompt.kind || next.title != prompt.title || (next.text && *next.text != prompt.text)) {
        ADD_FAILURE() << "expected prompt \"" << next.title.toStdString() << "\", got \""
                      << prompt.title.toStdString() << "\": " << prompt.text.toStdString();
        return {};
    }
    return next.answer;
}

QList<Prompt> ScriptedPrompter::transcript() const
{
    std::lock_guard lock(mutex);
    return seen;
}

int ScriptedPrompter::pending() const
{
    std::lock_guard lock(mutex);
    return static_cast<int>(queue.size());
}

} // namespace zentrova::test
