#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace vellumor::testing {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

// vellumor-map run as a separate process, the way people and scripts run it:
// with no display and no platform chosen for it.
inline Run runTool(const QStringList &arguments, const QString &workingDirectory = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR"})
        environment.remove(QString::fromLatin1(name));
    // Any warning from Qt inside the tool ends it, and so fails the test.
    environment.insert(QStringLiteral("QT_FATAL_WARNINGS"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(VELLUMOR_MAP_TOOL), arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace vellumor::testing
