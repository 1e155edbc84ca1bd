#include "MDIVellumor.h"
#include "Prompt.h"
#include "Standard.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumor"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));

    vellumor::Standard document;
    vellumor::MessageBoxPrompt prompt;
    vellumor::MDIVellumor window(document, prompt);
    window.show();
    return QApplication::exec();
}
