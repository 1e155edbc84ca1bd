#pragma once

#include <QByteArray>
#include <QDir>
#include <QtGlobal>

#include <cstdlib>

namespace vellumor::bench {

// Runs the widgets on the offscreen platform unless told otherwise, and gives
// Qt the private runtime directory it wants when the environment has none:
// a fresh 0700 directory, removed again at the end. Make one before the
// application object.
class BenchEnvironment
{
public:
    BenchEnvironment()
    {
        s_previousHandler = qInstallMessageHandler(&dropPlatformChatter);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            return;
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/vellumor-bench-XXXXXX";
        if (::mkdtemp(pattern.data())) { // made with mode 0700
            m_created = pattern;
            qputenv("XDG_RUNTIME_DIR", m_created);
        }
    }
    ~BenchEnvironment()
    {
        qInstallMessageHandler(s_previousHandler);
        if (!m_created.isEmpty())
            QDir(QString::fromLocal8Bit(m_created)).removeRecursively();
    }
    BenchEnvironment(const BenchEnvironment &) = delete;
    BenchEnvironment &operator=(const BenchEnvironment &) = delete;

private:
    // The offscreen platform says this each time a window's size limits change;
    // between the lines of a benchmark report it is only noise.
    static void dropPlatformChatter(
        QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (message == QLatin1String("This plugin does not support propagateSizeHints()"))
            return;
        s_previousHandler(type, context, message);
    }

    static inline QtMessageHandler s_previousHandler = nullptr;
    QByteArray m_created;
};

} // namespace vellumor::bench
