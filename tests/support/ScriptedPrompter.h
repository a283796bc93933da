#pragma once

#include "util/Prompter.h"

#include <QList>

#include <mutex>
#include <optional>

namespace zentrova::test {

// Answers prompts from a queue of expectations, in order. A prompt of another kind or title than the next
// expectation, or one with nothing left to answer, fails the test (and is answered as closed).
// Every prompt is kept in the transcript, so tests can assert titles and texts letter for letter.
class ScriptedPrompter : public Prompter {
public:
    ScriptedPrompter& expect(Prompt::Kind kind, const QString& title, PromptAnswer answer = {},
                             std::optional<QString> text = std::nullopt);
    // Shorthands for the common answers.
    ScriptedPrompter& expectChoice(Prompt::Kind kind, const QString& title, int choice);
    ScriptedPrompter& expectText(Prompt::Kind kind, const QString& title, const QString& text);

    PromptAnswer ask(const Prompt& prompt) override;

    QList<Prompt> transcript() const;
    int pending() const;

private:
    struct Expected {
        Prompt::Kind kind;
        QString title;
        std::optional<QString> text;
        PromptAnswer answer;
    };
    mutable std::mutex mutex;
    QList<Expected> queue;
    QList<Prompt> seen;
};

} // namespace zentrova::test
