#include "cli/MapTool.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

// A core application only: drawing a map into an image needs no display, so
// the tool runs on servers and in build scripts.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vellumor-map"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return vellumor::maptool::run(QCoreApplication::arguments().mid(1), out, err);
}
