#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace vellumor {

// Everything modal that the program asks of the user goes through here, so
// that tests can answer it. The program's own implementation is MessageBoxPrompt.
class Prompt
{
public:
    enum class Buttons { Ok, YesNo, YesNoCancel }; // Yes is the default where offered
    enum class Icon { None, Warning, Question, Critical };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompt() = default;

    virtual Answer ask(
        QWidget *parent, const QString &title, const QString &text, Buttons buttons, Icon icon)
        = 0;

    // Shows a dialog modal and returns once it has closed.
    virtual void runModal(QDialog &dialog) = 0;

    void tell(QWidget *parent, const QString &title, const QString &text, Icon icon = Icon::Warning)
    {
        ask(parent, title, text, Buttons::Ok, icon);
    }
};

class MessageBoxPrompt final : public Prompt
{
public:
    Answer ask(QWidget *parent, const QString &title, const QString &text, Buttons buttons,
        Icon icon) override;
    void runModal(QDialog &dialog) override;
};

} // namespace vellumor
