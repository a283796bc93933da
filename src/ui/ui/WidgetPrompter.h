#pragma once

#include "util/Prompter.h"

#include <QPointer>
#include <QWidget>

namespace zentrova {

// The Prompter of the running program: standard Qt dialogs and our own windows. Asked from a worker, it runs
// the dialog on the user-interface thread and blocks the worker until the user answers.
class WidgetPrompter : public Prompter {
public:
    explicit WidgetPrompter(QWidget* owner = nullptr);
    void setOwner(QWidget* owner);

    PromptAnswer ask(const Prompt& prompt) override;

private:
    PromptAnswer askHere(const Prompt& prompt);
    QPointer<QWidget> owner;
};

} // namespace zentrova
