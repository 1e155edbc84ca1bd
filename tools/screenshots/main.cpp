// Takes the README's pictures of the real program: the main window with each
// sample map and symbol set, the Save As dialog and the About box.
//   vellumor-screenshots EXAMPLES_DIR OUTPUT_DIR [SUFFIX]
// Run it offscreen; QT_SCALE_FACTOR=2 gives the pictures for dense screens.
#include "dialogs/Prompt.h"
#include "dialogs/frmSaveAs.h"
#include "mainwindow/ApplicationSetup.h"
#include "mainwindow/MDIVellumor.h"
#include "mainwindow/frmAbout.h"
#include "mapview/frmChildMap.h"
#include "palette/MapSymbolsPanel.h"
#include "pictures/Artwork.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <cstdio>

using namespace vellumor;

namespace {

// Answers nothing: taking pictures never asks the user anything, and a
// question would mean something went wrong.
class NoPrompt final : public Prompt
{
public:
    Answer ask(QWidget *, const QString &title, const QString &text, Buttons, Icon) override
    {
        std::fprintf(stderr, "unexpected question: %s: %s\n", qPrintable(title), qPrintable(text));
        unexpected = true;
        return Answer::Cancel;
    }
    void runModal(QDialog &) override { }
    bool unexpected = false;
};

bool save(QWidget &widget, const QString &path)
{
    QApplication::processEvents();
    if (widget.grab().save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// The main window just large enough to show the whole map beside the palette,
// whatever size the offscreen screen has.
void fitToMap(MDIVellumor &window)
{
    window.showNormal();
    window.resize(1200, 900);
    QApplication::processEvents();
    const int frame = 2 * window.workspace()->frameWidth();
    const QSize needed = window.mapWindow()->frameGeometry().size() + QSize(frame, frame);
    window.resize(window.size() + needed - window.workspace()->size());
    window.mapWindow()->move(0, 0);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // As the program starts, and with the icon it sets once shown.
    prepareApplication();
    QApplication::setWindowIcon(programIcon());
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 3 || arguments.size() > 4) {
        std::fprintf(stderr, "usage: vellumor-screenshots EXAMPLES_DIR OUTPUT_DIR [SUFFIX]\n");
        return 2;
    }
    const QDir examples(arguments[1]);
    const QDir output(arguments[2]);
    const QString suffix = arguments.value(3);
    auto target = [&](const QString &name) { return output.filePath(name + suffix + ".png"); };

    Standard document;
    NoPrompt prompt;
    MDIVellumor window(document, prompt);
    window.show();
    fitToMap(window);

    struct Shot
    {
        const char *map;
        int set;
        SymbolCode symbol;
        const char *name;
    };
    const Shot shots[] {
        {"town.map", 0, 5, "main-town"},
        {"castle.map", 1, 32, "main-terrain1"},
        {"desert-fort.map", 2, 61, "main-terrain2"},
    };
    bool ok = true;
    for (const Shot &shot : shots) {
        if (const auto failure = OpenMap(document, *window.mapView(), window, examples.path(),
                QString::fromLatin1(shot.map))) {
            std::fprintf(stderr, "%s\n", qPrintable(failure->text));
            return 1;
        }
        window.symbolsPanel()->optSymbolSet_Click(shot.set);
        window.symbolsPanel()->optSymbol_Click(shot.symbol);
        ok &= save(window, target(QString::fromLatin1(shot.name)));
    }

    // The Save As dialog over a folder of maps, a name being typed. The folder
    // has a fixed name, so that the pictures come out the same on every run.
    const QString scratch = QDir::tempPath() + QStringLiteral("/vellumor-screenshots");
    if (QFileInfo::exists(scratch)) {
        std::fprintf(stderr, "%s is in the way; remove it first\n", qPrintable(scratch));
        return 1;
    }
    const QString maps = scratch + QStringLiteral("/Maps");
    QDir().mkpath(maps);
    for (const QString &name : examples.entryList({QStringLiteral("*.map")}, QDir::Files))
        QFile::copy(examples.filePath(name), maps + QLatin1Char('/') + name);
    {
        frmSaveAs dialog(document, window, prompt, &window, maps);
        dialog.show();
        if (auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("txtFileName")))
            name->setText(QStringLiteral("harbour.map"));
        ok &= save(dialog, target(QStringLiteral("save-as")));
    }
    QDir(scratch).removeRecursively();
    {
        frmAbout about(&window);
        about.show();
        ok &= save(about, target(QStringLiteral("about")));
    }
    return ok && !prompt.unexpected ? 0 : 1;
}
