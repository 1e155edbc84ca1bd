#include "Artwork.h"
#include "MDIVellumor.h"
#include "Prompt.h"
#include "Standard.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumor"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    // Lets the desktop match the windows to the installed launcher and its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.vellumor.Vellumor"));
    QApplication::setWindowIcon(vellumor::programIcon());

    vellumor::Standard document;
    vellumor::MessageBoxPrompt prompt;
    vellumor::MDIVellumor window(document, prompt);
    window.showAtStart();
    return QApplication::exec();
}
