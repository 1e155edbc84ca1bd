#include "mainwindow/ApplicationSetup.h"

#include <QApplication>

namespace vellumor {

void prepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("Vellumor"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMOR_VERSION));
    // Lets the desktop match the windows to the installed launcher and its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.vellumor.Vellumor"));
}

} // namespace vellumor
