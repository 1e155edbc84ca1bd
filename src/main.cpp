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
    // Decoding the icon's six sizes would add 0.1x of the one-menu window to
    // start-up (docs/performance.md), for a picture only the task bar and the
    // window frame show: it follows the first paint.
    new AfterFirstPaint(window, [] { QApplication::setWindowIcon(vellumor::programIcon()); });
    window.showAtStart();
    return QApplication::exec();
}
