#include "dialogs/Prompt.h"
#include "document/Standard.h"
#include "mainwindow/ApplicationSetup.h"
#include "mainwindow/MDIVellumor.h"
#include "pictures/Artwork.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>
#include <QTimer>

#include <cstring>
#include <functional>

namespace {

// Answers --help and --version, for people and for the manual page made from
// them, without a display and without starting the editor. Any other argument
// is left alone, as before: the editor takes no map on its command line.
bool answerCommandLine(int argc, char *argv[])
{
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"})
            asked = asked || std::strcmp(argv[i], option) == 0;
    }
    if (!asked)
        return false;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vellumor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMOR_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Vellumor, an editor for the tile maps that game masters draw for role-playing\n"
        "games: paint 64 map symbols into a grid of 35 x 25 cells and save the map as a\n"
        "small text file. Started without options, it opens its main window.\n"
        "\n"
        "vellumor-map checks, draws, exports, imports and compares maps without a\n"
        "display."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app); // prints and ends the program
    return true;
}

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
    if (answerCommandLine(argc, argv))
        return 0;
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
