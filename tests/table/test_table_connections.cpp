// Who gets in when many connect: the GM past a crowd of players, a device
// with many pages, a GM's command out of range, and a table that stops.
#include "TableFixture.h"

#include "table/TableLock.h"

#include <QTcpSocket>

#include <optional>
#include <utility>

using namespace vellumor;
using namespace vellumor::table;
using namespace vellumor::testing;

namespace {

TableLimits quickRoom()
{
    TableLimits limits;
    limits.gmRoomHelloTimeout = std::chrono::milliseconds(200);
    return limits;
}

// A connection that says hello as a player, and how it ended (0: still open).
int playerCloseCode(quint16 port)
{
    TableClient client(port);
    if (!client.waitOpen())
        return -1;
    client.hello(QStringLiteral("player"));
    if (!client.waitFor(QStringLiteral("state")).isEmpty())
        return 0;
    client.waitClosed();
    return client.closeCode;
}

// A player written frame by frame on a bare socket, so that it can come from
// another address of the loopback, and stop reading, as a phone on a poor
// network does, to fall far behind.
class RawPlayer
{
public:
    explicit RawPlayer(quint16 port, const QHostAddress &from = QHostAddress::LocalHost)
    {
        // The table runs in this very thread: every wait here lets it work.
        socket.bind(from);
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.write("GET /ws HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port)
            + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: "
              "13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n");
    }
    bool upgraded()
    {
        for (int round = 0; round < 500 && !received.contains("\r\n\r\n"); ++round) {
            QTest::qWait(10);
            received += socket.readAll();
        }
        const qsizetype end = received.indexOf("\r\n\r\n");
        const bool ok = received.startsWith("HTTP/1.1 101") && end > 0;
        received.remove(0, end + 4);
        return ok;
    }
    // A frame from a client is masked; a mask of zeros leaves the payload as it is.
    void send(int opcode, const QByteArray &payload)
    {
        socket.write(QByteArray(1, char(0x80 | opcode)) + char(0x80 | payload.size())
            + QByteArray(4, '\0') + payload);
    }
    void hello() { send(0x1, "{\"type\":\"hello\",\"role\":\"player\"}"); }
    // Reads up to the first frame of this opcode (text 0x1, close 0x8), and
    // gives its payload; a closing frame is answered.
    std::optional<QByteArray> readUntil(int opcode)
    {
        socket.setReadBufferSize(0);
        for (int round = 0; round < 2000; ++round) {
            received += socket.readAll();
            while (const auto frame = nextFrame()) {
                if (frame->first == 0x8) {
                    send(0x8, frame->second.left(2));
                    socket.flush();
                }
                if (frame->first == opcode)
                    return frame->second;
            }
            if (socket.state() != QAbstractSocket::ConnectedState && !socket.bytesAvailable())
                break;
            QTest::qWait(5);
        }
        return std::nullopt;
    }
    int closeCode()
    {
        const auto payload = readUntil(0x8);
        return payload && payload->size() >= 2
            ? (quint8(payload->at(0)) << 8) | quint8(payload->at(1))
            : 1006;
    }

    QTcpSocket socket;
    QByteArray received;

private:
    // The table's frames are whole and unmasked.
    std::optional<std::pair<int, QByteArray>> nextFrame()
    {
        if (received.size() < 2)
            return std::nullopt;
        qsizetype length = quint8(received[1]) & 0x7f;
        qsizetype head = 2;
        if (length >= 126) {
            head = length == 126 ? 4 : 10;
            if (received.size() < head)
                return std::nullopt;
            length = 0;
            for (qsizetype i = 2; i < head; ++i)
                length = (length << 8) | quint8(received[i]);
        }
        if (received.size() < head + length)
            return std::nullopt;
        std::pair<int, QByteArray> frame {quint8(received[0]) & 0x0f, received.mid(head, length)};
        received.remove(0, head + length);
        return frame;
    }
};

} // namespace

class TestTableConnections : public QObject
{
    Q_OBJECT

private slots:
    void aCrowdOfPlayersLeavesTheGmARoom()
    {
        // This machine's own 127.0.0.1 has no share of its own.
        TableFixture table({MapCodes {}}, quickRoom());
        std::vector<std::unique_ptr<TableClient>> crowd;
        for (int i = 0; i < kSharedConnections; ++i) {
            crowd.push_back(table.join(QStringLiteral("player")));
            QVERIFY(!crowd.back()->messages.isEmpty());
        }
        QCOMPARE(playerCloseCode(table.server->port()), int(kCloseFull));

        // Waiting in the room, saying nothing or the wrong secret, ends soon.
        TableClient silent(table.server->port());
        QVERIFY(silent.waitOpen());
        TableClient guessing(table.server->port());
        QVERIFY(guessing.waitOpen());
        guessing.hello(QStringLiteral("gm"), QStringLiteral("0123456789abcdefghijkm"));
        QVERIFY(guessing.waitClosed());
        QCOMPARE(guessing.closeCode, int(kCloseWrongSecret));
        QVERIFY(silent.waitClosed());
        QCOMPARE(silent.closeCode, int(kCloseIdle));

        auto gm = table.join(QStringLiteral("gm"));
        QVERIFY(!gm->messages.isEmpty());
        QTRY_COMPARE(
            gm->messages.back().value(QStringLiteral("count")).toInt(), kSharedConnections);
        QVERIFY(std::none_of(crowd.begin(), crowd.end(), [](auto &p) { return p->closed; }));

        // A player who leaves makes a place for another.
        crowd.pop_back();
        QTRY_COMPARE(playerCloseCode(table.server->port()), 0);
    }

    void oneAddressHasItsShareOfPlayers()
    {
        TableFixture table({MapCodes {}}, quickRoom());
        const QHostAddress device(QStringLiteral("127.0.0.2"));
        std::vector<std::unique_ptr<RawPlayer>> tabs;
        for (int i = 0; i <= kPlayersPerAddress; ++i) {
            tabs.push_back(std::make_unique<RawPlayer>(table.server->port(), device));
            QVERIFY(tabs.back()->upgraded());
            tabs.back()->hello();
            if (i < kPlayersPerAddress)
                QVERIFY(tabs.back()->readUntil(0x1));
        }
        QCOMPARE(tabs.back()->closeCode(), int(kCloseFull));
        // Other devices, and the GM from this one, still get in.
        QCOMPARE(playerCloseCode(table.server->port()), 0);
        RawPlayer gm(table.server->port(), device);
        QVERIFY(gm.upgraded());
        gm.send(0x1, "{\"type\":\"hello\",\"role\":\"gm\",\"secret\":\"" + table.secret + "\"}");
        const auto state = gm.readUntil(0x1);
        QVERIFY(state && state->contains("gm-state"));
    }

    void aCommandOutOfRangeIsRefusedWithANotice()
    {
        TableFixture table({MapCodes {}});
        auto gm = table.join(QStringLiteral("gm"));
        const QList<QJsonObject> commands {
            message("set", {{"map", -1}, {"cells", QJsonArray {1}}, {"revealed", true}}),
            message("set", {{"map", 0}, {"cells", QJsonArray {875}}, {"revealed", true}}),
            message("set", {{"map", 0}, {"cells", QJsonArray {0, -3}}, {"revealed", true}}),
            message("region", {{"map", 0}, {"cell", 875}, {"kind", "walk"}, {"revealed", true}}),
            message("all", {{"map", 2}, {"revealed", true}}),
            message("show-map", {{"map", 1e15}}),
        };
        for (const QJsonObject &command : commands) {
            const qsizetype seen = gm->messages.size();
            gm->send(command);
            const QJsonObject notice = gm->waitFor(QStringLiteral("notice"), seen);
            QCOMPARE(notice.value(QStringLiteral("level")).toString(), QStringLiteral("error"));
        }
        QVERIFY(!gm->closed);
        QCOMPARE(table.state->shownMap().state.rev, 0);
        QCOMPARE(table.state->shownMap().state.revealed.count(), std::size_t(0));
        QVERIFY(!QFileInfo::exists(tableFilePath(table.state->maps()[0].path)));
    }

    void stoppingWaitsForTheClosingHandshakes()
    {
        TableFixture table({MapCodes {}});
        auto player = table.join(QStringLiteral("player"));
        QSignalSpy stopped(table.server.get(), &TableServer::stopped);
        table.server->stop();
        QVERIFY(player->waitClosed());
        QCOMPARE(player->closeCode, 1000);
        QTRY_COMPARE(stopped.size(), 1);
        // With nobody there, at once.
        TableFixture empty({MapCodes {}});
        QSignalSpy alone(empty.server.get(), &TableServer::stopped);
        empty.server->stop();
        QVERIFY(alone.wait(1000));
    }

    void stoppingWaitsForAPlayerFarBehind()
    {
        TableLimits limits;
        limits.stopTimeout = std::chrono::minutes(5); // far beyond this test
        TableFixture table({MapCodes {}}, limits);
        RawPlayer slow(table.server->port());
        QVERIFY(slow.upgraded());
        slow.socket.setReadBufferSize(64);
        slow.hello();
        // Megabytes of whole pictures that it does not read yet.
        for (int i = 0; i < 3000; ++i)
            slow.send(0x1, "{\"type\":\"resync\"}");
        auto gm = table.join(QStringLiteral("gm"));
        QTRY_COMPARE(gm->messages.back().value(QStringLiteral("count")).toInt(), 1);

        QSignalSpy stopped(table.server.get(), &TableServer::stopped);
        table.server->stop();
        QVERIFY(gm->waitClosed());
        QCOMPARE(gm->closeCode, 1000);
        QCOMPARE(stopped.size(), 0);
        QCOMPARE(slow.closeCode(), 1000);
        QTRY_COMPARE(stopped.size(), 1);
    }

    void oneTablePerMap()
    {
        QTemporaryDir folder;
        const QString map = folder.filePath(QStringLiteral("town.map"));
        QVERIFY(writeFile(map, mapfile::encode(MapCodes {})));
        auto first = MapLocks::take({map});
        QVERIFY(std::holds_alternative<MapLocks>(first));
        const auto starting = MapLocks::take({map});
        QVERIFY(std::get<QString>(starting).contains(QStringLiteral("starting")));
        std::get<MapLocks>(first).announce(8136);
        // However the map is named.
        QVERIFY(QFile::link(map, folder.filePath(QStringLiteral("link.map"))));
        for (const QString &name : {map, folder.filePath(QStringLiteral("link.map")),
                 folder.filePath(QStringLiteral("./town.map"))}) {
            const auto refused = MapLocks::take({name});
            QVERIFY(std::holds_alternative<QString>(refused));
            QVERIFY2(std::get<QString>(refused).contains(QStringLiteral("port 8136")),
                qPrintable(std::get<QString>(refused)));
            QVERIFY(!std::get<QString>(refused).contains(QLatin1Char('\n')));
        }
        // Another map in the folder is free, and this one once the first ends.
        const QString other = folder.filePath(QStringLiteral("fort.map"));
        QVERIFY(writeFile(other, mapfile::encode(MapCodes {})));
        QVERIFY(std::holds_alternative<MapLocks>(MapLocks::take({other})));
        first = QStringLiteral("ended");
        QVERIFY(std::holds_alternative<MapLocks>(MapLocks::take({map})));
    }
};

QTEST_GUILESS_MAIN(TestTableConnections)
#include "test_table_connections.moc"
