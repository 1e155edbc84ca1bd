#include "cli/MapTool.h"

#include <QGuiApplication>
#include <QTextStream>

#include <memory>

// Needs no display: a GUI application runs on the offscreen platform unless
// QT_QPA_PLATFORM asks for another, so the tool runs on servers and in scripts.
int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    std::unique_ptr<QCoreApplication> app;
    if (vellumor::maptool::needsGuiApplication(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("vellumor-map"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMOR_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return vellumor::maptool::run(QCoreApplication::arguments().mid(1), out, err);
}
