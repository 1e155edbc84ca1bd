#include "dialogs/Prompt.h"
#include "document/Standard.h"
#include "mainwindow/ApplicationSetup.h"
#include "mainwindow/MDIVellumor.h"
#include "symbols/Artwork.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <functional>

namespace {

// Runs a task once, as soon as a window has finished its first paint.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget &window, std::function<void()> task)
        : QObject(&window)
        , m_task(std::move(task))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so that the whole window is painted and shown first.
            QTimer::singleShot(0, this, [this] {
                m_task();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_task;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vellumor::prepareApplication();

    vellumor::Standard document;
    vellumor::MessageBoxPrompt prompt;
    vellumor::MDIVellumor window(document, prompt);
    // Decoding the icon's six sizes is a twentieth of start-up, and the icon
    // only marks the window in the task bar and on its frame: it can follow.
    new AfterFirstPaint(window, [] { QApplication::setWindowIcon(vellumor::programIcon()); });
    window.showAtStart();
    return QApplication::exec();
}
