#pragma once

#include "dialogs/Prompt.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

namespace vellumor::testing {

// Answers message boxes from a script and records what was asked; runs modal
// dialogs by handing them to a script step instead of an event loop.
class ScriptedPrompt final : public Prompt
{
public:
    struct Asked
    {
        QString title;
        QString text;
        Buttons buttons;
        Icon icon;
    };

    Answer ask(
        QWidget *, const QString &title, const QString &text, Buttons buttons, Icon icon) override
    {
        asked.append({title, text, buttons, icon});
        if (answers.isEmpty())
            return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
        return answers.takeFirst();
    }

    void runModal(QDialog &dialog) override
    {
        ++dialogsRun;
        if (dialogSteps.isEmpty()) {
            dialog.reject();
            return;
        }
        dialogSteps.takeFirst()(dialog);
    }

    QList<Answer> answers; // given in order; Cancel (or Ok) once they run out
    QList<std::function<void(QDialog &)>> dialogSteps; // a dialog without a step is cancelled
    QList<Asked> asked;
    int dialogsRun = 0;
};

} // namespace vellumor::testing
