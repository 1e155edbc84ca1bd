// Qt calls a checkable button a radio button only when it is auto-exclusive;
// the palette's buttons are exclusive through their groups and the panel, and
// auto-exclusivity would stop the panel from releasing the lone Blank button.
#include "palette/OptionButtonAccessible.h"

#include "palette/OptionButton.h"

#include <QAccessibleWidget>

namespace vellumor {

namespace {

class OptionButtonAccessible final : public QAccessibleWidget
{
public:
    explicit OptionButtonAccessible(OptionButton *button)
        : QAccessibleWidget(button, QAccessible::RadioButton)
    { }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        state.pressed = button()->isDown();
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return button()->text();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == toggleAction() || action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    OptionButton *button() const { return static_cast<OptionButton *>(widget()); }
};

QAccessibleInterface *optionButtonAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(OptionButton::staticMetaObject.className()))
        return new OptionButtonAccessible(static_cast<OptionButton *>(object));
    return nullptr;
}

} // namespace

void installOptionButtonAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(optionButtonAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace vellumor
