// Starts a window as the program does and paints it once, then prints what
// that cost this fresh process: its resident memory in kilobytes, and the
// processor time and the wall-clock time until the paint was done, in
// microseconds. Built with the editor, with a bare main window as its floor,
// and with that window plus one menu.
#include "BenchEnvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>

#ifdef VELLUMOR_PROBE_EDITOR
#include "dialogs/Prompt.h"
#include "mainwindow/ApplicationSetup.h"
#include "mainwindow/MDIVellumor.h"
#endif

#include <cstdio>
#include <ctime>
#include <memory>

namespace {

// The "VmRSS:" line of /proc/self/status, in kilobytes; -1 where there is none.
long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // The file claims a size of 0, so it is read to its end rather than line by line.
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            bool ok = false;
            const long kilobytes = line.mid(6).simplified().split(' ').value(0).toLong(&ok);
            return ok ? kilobytes : -1;
        }
    }
    return -1;
}

// Processor time of all threads since the process began, loading included.
long processMicroseconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return long(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    vellumor::bench::BenchEnvironment environment;
    QApplication app(argc, argv);

#ifdef VELLUMOR_PROBE_EDITOR
    // As the program starts, up to its first paint; it sets the window icon
    // only after that.
    vellumor::prepareApplication();
    vellumor::Standard document;
    vellumor::MessageBoxPrompt prompt;
    auto window = std::make_unique<vellumor::MDIVellumor>(document, prompt);
#else
    auto window = std::make_unique<QMainWindow>();
    window->setCentralWidget(new QMdiArea);
#ifdef VELLUMOR_PROBE_MENU
    // One menu, so that the window draws text and starts the font system as
    // every window with words in it must.
    window->menuBar()->addMenu(QStringLiteral("&File"));
#endif
#endif
#ifdef VELLUMOR_PROBE_EDITOR
    // Sized and placed as the program shows it: the whole map in view.
    window->showAtStart();
#else
    window->show();
#endif
    window->repaint();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
    const long processor = processMicroseconds();
    const long wall = long(sinceMain.nsecsElapsed() / 1000);

    const long kilobytes = residentKilobytes();
    std::printf("%ld %ld %ld\n", kilobytes, processor, wall);
    return kilobytes < 0 ? 1 : 0;
}
