#include "cli/MapTool.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstring>
#include <memory>

namespace {

// Printing to PDF sets text, which needs the fonts of a GUI application; every
// other command draws pictures alone and starts as a plain core application.
bool printsText(int argc, char *argv[])
{
    if (argc < 2 || (std::strcmp(argv[1], "export") != 0 && std::strcmp(argv[1], "generate") != 0))
        return false;
    for (int i = 2; i < argc; ++i) {
        if (QByteArray(argv[i]).toLower().endsWith(".pdf"))
            return true;
    }
    return false;
}

} // namespace

// Needs no display: a GUI application runs on the offscreen platform unless
// QT_QPA_PLATFORM asks for another, so the tool runs on servers and in scripts.
int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (printsText(argc, argv)) {
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
