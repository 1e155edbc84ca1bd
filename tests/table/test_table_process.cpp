// The table as its users run it: the real vellumor-map, stopped by a signal,
// killed in the middle of a storm of reveals, and started again.
#include "TableFixture.h"

#include "document/FileReplacing.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <csignal>

using namespace vellumor;
using namespace vellumor::table;
using namespace vellumor::testing;

namespace {

struct Started
{
    quint16 port = 0;
    QString secret;
};

// Starts the table on the loopback, on a port the system chooses, and reads its port and the GM's
// secret from what it prints.
Started startTable(QProcess &process, const QStringList &arguments)
{
    process.start(QStringLiteral(VELLUMOR_MAP_TOOL),
        QStringList {QStringLiteral("table")} + arguments
            + QStringList {QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                QStringLiteral("--port"), QStringLiteral("0")});
    static const QRegularExpression gmLine(QStringLiteral(":(\\d+)/gm#k=([A-Za-z0-9_-]+)"));
    QString printed;
    while (process.waitForReadyRead(10000)) {
        printed += QString::fromUtf8(process.readAllStandardOutput());
        const auto match = gmLine.match(printed);
        if (match.hasMatch())
            return {quint16(match.captured(1).toUInt()), match.captured(2)};
    }
    return {};
}

} // namespace

class TestTableProcess : public QObject
{
    Q_OBJECT

private slots:
    // The GM's secret is kept in the user's state folder: a temporary one here.
    void initTestCase()
    {
        QVERIFY(m_state.isValid());
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
    }

    void stopsCleanlyAndRefusesWhatItCannotServe()
    {
        QTemporaryDir folder;
        const QString map = folder.filePath(QStringLiteral("town.map"));
        QVERIFY(writeFile(map, mapfile::encode(MapCodes {})));
        QProcess table;
        const Started started = startTable(table, {map});
        QVERIFY(started.port != 0);
        QCOMPARE(started.secret.size(), 22);

        // A second table on the same map is refused, naming the first's port;
        // on another port too, where it would overwrite the first's reveals.
        for (const QString &port : {QString::number(started.port), QStringLiteral("0")}) {
            QProcess second;
            second.start(QStringLiteral(VELLUMOR_MAP_TOOL),
                {QStringLiteral("table"), map, QStringLiteral("--bind"),
                    QStringLiteral("127.0.0.1"), QStringLiteral("--port"), port});
            QVERIFY(second.waitForFinished(10000));
            QCOMPARE(second.exitCode(), 1);
            const QByteArray refusal = second.readAllStandardError();
            QCOMPARE(refusal.count('\n'), 1);
            QVERIFY2(refusal.contains("port " + QByteArray::number(started.port)), refusal);
        }

        ::kill(pid_t(table.processId()), SIGTERM);
        QVERIFY(table.waitForFinished(10000));
        QCOMPARE(table.exitStatus(), QProcess::NormalExit);
        QCOMPARE(table.exitCode(), 0);
    }

    void aKilledTableKeepsAllItShowed()
    {
        QTemporaryDir folder;
        const QString map = folder.filePath(QStringLiteral("town.map"));
        QVERIFY(writeFile(map, mapfile::encode(MapCodes {})));
        // What an earlier table killed in the middle of a save left behind.
        const QString leftover
            = folder.filePath(QLatin1String(kReplacementPrefix) + QStringLiteral("a1"));
        QVERIFY(writeFile(leftover, "half a state"));
        QFile old(leftover);
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(
            QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        old.close();
        QProcess table;
        Started started = startTable(table, {map});
        QVERIFY(started.port != 0);
        QVERIFY(!QFileInfo::exists(leftover));

        TableClient gm(started.port);
        QVERIFY(gm.waitOpen());
        gm.hello(QStringLiteral("gm"), started.secret);
        TableClient player(started.port);
        QVERIFY(player.waitOpen());
        player.hello(QStringLiteral("player"));
        QVERIFY(!player.waitFor(QStringLiteral("state")).isEmpty());
        for (int cell = 0; cell < kCellCount; ++cell) {
            gm.send(message("set", {{"map", 0}, {"cells", QJsonArray {cell}}, {"revealed", true}}));
        }
        const auto lastSent = [&] {
            return player.messages.isEmpty()
                ? 0
                : player.messages.back().value(QStringLiteral("rev")).toInteger();
        };
        QTRY_VERIFY_WITH_TIMEOUT(lastSent() >= 100, 20000);
        table.kill();
        QVERIFY(table.waitForFinished(10000));
        QVERIFY(player.waitClosed());
        const qint64 shown = lastSent();

        const auto saved = readTableFile(map);
        QVERIFY(std::holds_alternative<MapState>(saved));
        const MapState state = std::get<MapState>(saved);
        QVERIFY2(
            state.rev >= shown, qPrintable(QStringLiteral("%1 < %2").arg(state.rev).arg(shown)));
        QCOMPARE(qint64(state.revealed.count()), state.rev);

        // The killed table's lock went with it, and its secret stays: the
        // open GM page gets back in.
        const QString firstSecret = started.secret;
        started = startTable(table, {map});
        QVERIFY(started.port != 0);
        QCOMPARE(started.secret, firstSecret);
        TableClient again(started.port);
        QVERIFY(again.waitOpen());
        again.hello(QStringLiteral("player"));
        const QJsonObject restored = again.waitFor(QStringLiteral("state"));
        QCOMPARE(restored.value(QStringLiteral("rev")).toInteger(), state.rev);
        table.kill();
        table.waitForFinished(10000);

        started = startTable(table, {map, QStringLiteral("--new-secret")});
        QVERIFY(started.secret != firstSecret);
        TableClient oldGm(started.port);
        QVERIFY(oldGm.waitOpen());
        oldGm.hello(QStringLiteral("gm"), firstSecret);
        QVERIFY(!oldGm.waitFor(QStringLiteral("refused")).isEmpty());
        QVERIFY(oldGm.waitClosed());
        QCOMPARE(oldGm.closeCode, int(kCloseWrongSecret));
        table.kill();
        table.waitForFinished(10000);
    }

    // From a file manager: the GM's page opens in the browser (here a stand-in
    // for xdg-open that notes what it was asked), and a second "Show at the
    // table" on a map already served opens that table's page, starting none.
    void openTakesTheGmToTheirPage()
    {
        QTemporaryDir folder;
        const QString map = folder.filePath(QStringLiteral("town.map"));
        QVERIFY(writeFile(map, mapfile::encode(MapCodes {})));
        const QString opened = folder.filePath(QStringLiteral("opened"));
        const QString opener = folder.filePath(QStringLiteral("xdg-open"));
        QVERIFY(writeFile(
            opener, QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\n").arg(opened).toUtf8()));
        QVERIFY(QFile::setPermissions(opener, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"),
            folder.path() + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));

        QProcess table;
        table.setProcessEnvironment(environment);
        const Started started = startTable(table, {map, QStringLiteral("--open")});
        QVERIFY(started.port != 0);
        const QString page = QStringLiteral(":%1/gm#k=%2").arg(started.port).arg(started.secret);
        QTRY_VERIFY(readFile(opened).contains(page.toUtf8()));

        QProcess again;
        again.setProcessEnvironment(environment);
        again.start(QStringLiteral(VELLUMOR_MAP_TOOL),
            {QStringLiteral("table"), map, QStringLiteral("--open"), QStringLiteral("--port"),
                QStringLiteral("0")});
        QVERIFY(again.waitForFinished(10000));
        QCOMPARE(again.exitCode(), 0);
        QTRY_COMPARE(readFile(opened).count(page.toUtf8()), 2);
        table.kill();
        table.waitForFinished(10000);
    }

private:
    QTemporaryDir m_state;
};

QTEST_GUILESS_MAIN(TestTableProcess)
#include "test_table_process.moc"
