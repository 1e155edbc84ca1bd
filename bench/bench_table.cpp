// The table on the loopback: one reveal reaching 50 players beside a bare
// QWebSocketServer sending the same bytes to 50 clients, the storm of 875
// reveals, and the resident memory of the real server with its players.
#include "BenchSupport.h"
#include "document/MapCodec.h"
#include "table/Table.h"
#include "table/TableFile.h"
#include "table/TableFileWriter.h"
#include "table/TableServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWebSocket>
#include <QWebSocketServer>

#include <benchmark/benchmark.h>

#include <memory>

namespace vellumor::bench {
namespace {

using namespace vellumor::table;

constexpr int kPlayers = 50;

// Clients that count the messages they receive.
struct Crowd
{
    std::vector<std::unique_ptr<QWebSocket>> sockets;
    qint64 received = 0;

    bool connect(const QUrl &url, int count, const QString &hello = {})
    {
        for (int i = 0; i < count; ++i) {
            auto socket = std::make_unique<QWebSocket>();
            QObject::connect(socket.get(), &QWebSocket::textMessageReceived, socket.get(),
                [this] { ++received; });
            if (!hello.isEmpty())
                QObject::connect(socket.get(), &QWebSocket::connected, socket.get(),
                    [raw = socket.get(), hello] { raw->sendTextMessage(hello); });
            socket->open(url);
            sockets.push_back(std::move(socket));
        }
        return waitUntil([&] {
            return received >= (hello.isEmpty() ? 0 : count)
                && std::all_of(sockets.begin(), sockets.end(),
                    [](const auto &s) { return s->state() == QAbstractSocket::ConnectedState; });
        });
    }

    template<class Done> static bool waitUntil(Done done)
    {
        QDeadlineTimer deadline(30'000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }
};

QString command(int cell, bool revealed)
{
    return QStringLiteral("{\"type\":\"set\",\"map\":0,\"cells\":[%1],\"revealed\":%2}")
        .arg(cell)
        .arg(revealed ? QLatin1String("true") : QLatin1String("false"));
}

// Each iteration: one cell revealed or hidden again, until every receiver has
// the message.
void revealAndWait(benchmark::State &state, QWebSocket &sender, Crowd &receivers)
{
    bool reveal = true;
    for (auto _ : state) {
        const qint64 before = receivers.received;
        sender.sendTextMessage(command(400, reveal));
        reveal = !reveal;
        if (!Crowd::waitUntil([&] { return receivers.received >= before + kPlayers; }))
            state.SkipWithError("a receiver missed a message");
    }
}

// A table of one full map in a temporary folder, saving as the command does.
struct LiveTable
{
    LiveTable()
    {
        const QString path = folder.filePath(QStringLiteral("bench.map"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(mapfile::encode(fullMap()));
        file.close();
        auto maps = std::get<std::vector<TableMap>>(openTableMaps({path}, true));
        state = std::make_unique<Table>(
            std::move(maps), [this](const TableMap &map, const MapState &next) {
                return writer.write(map.path, next);
            });
        server = std::make_unique<TableServer>(*state, "secret");
        server->listen(QHostAddress::LocalHost, 0);
    }
    QUrl url() const { return QUrl(QStringLiteral("ws://127.0.0.1:%1/ws").arg(server->port())); }
    // kPlayers players and one GM, each past its hello.
    bool join(Crowd &players, Crowd &gm) const
    {
        return players.connect(
                   url(), kPlayers, QStringLiteral("{\"type\":\"hello\",\"role\":\"player\"}"))
            && gm.connect(url(), 1,
                QStringLiteral("{\"type\":\"hello\",\"role\":\"gm\",\"secret\":\"secret\"}"));
    }

    QTemporaryDir folder;
    TableFileWriter writer;
    std::unique_ptr<Table> state;
    std::unique_ptr<TableServer> server;
};

void BM_TableReveal50(benchmark::State &state)
{
    LiveTable table;
    Crowd players, gm;
    if (!table.join(players, gm)) {
        state.SkipWithError("the players could not join");
        return;
    }
    revealAndWait(state, *gm.sockets.front(), players);
}
BENCHMARK(BM_TableReveal50)->MeasureProcessCPUTime()->UseRealTime();

// The party followed: each iteration moves it one cell along a row and back,
// revealing what it sees from there, until every player has the change.
void BM_TablePartyFollow50(benchmark::State &state)
{
    LiveTable table;
    Crowd players, gm;
    if (!table.join(players, gm)) {
        state.SkipWithError("the players could not join");
        return;
    }
    QWebSocket &sender = *gm.sockets.front();
    const auto send = [&](const QString &message) {
        const qint64 before = players.received;
        sender.sendTextMessage(message);
        return Crowd::waitUntil([&] { return players.received >= before + kPlayers; });
    };
    send(QStringLiteral("{\"type\":\"follow\",\"map\":0,\"follow\":true,\"range\":null}"));
    int cell = 400;
    for (auto _ : state) {
        cell = cell == 400 ? 401 : 400;
        if (!send(QStringLiteral(
                "{\"type\":\"party\",\"map\":0,\"markers\":[{\"colour\":0,\"cell\":%1}]}")
                      .arg(cell)))
            state.SkipWithError("a receiver missed a message");
    }
}
BENCHMARK(BM_TablePartyFollow50)->MeasureProcessCPUTime()->UseRealTime();

// The floor: a bare server that sends each message it receives, of a change's
// size, on to 50 clients.
void BM_BareBroadcast50(benchmark::State &state)
{
    QWebSocketServer server(QStringLiteral("floor"), QWebSocketServer::NonSecureMode);
    server.listen(QHostAddress::LocalHost, 0);
    std::vector<QWebSocket *> peers;
    QObject::connect(&server, &QWebSocketServer::newConnection, &server, [&] {
        while (QWebSocket *peer = server.nextPendingConnection()) {
            peers.push_back(peer);
            QObject::connect(
                peer, &QWebSocket::textMessageReceived, peer, [&](const QString &text) {
                    const QString change = QStringLiteral("{\"type\":\"change\",\"view\":1,\"rev\":"
                                                          "13,\"base\":12,\"cells\":[[400,%1]]}")
                                               .arg(text.size());
                    for (QWebSocket *each : peers)
                        if (each != peers.front())
                            each->sendTextMessage(change);
                });
        }
    });
    Crowd sender, clients;
    const QUrl url(QStringLiteral("ws://127.0.0.1:%1/").arg(server.serverPort()));
    sender.connect(url, 1);
    Crowd::waitUntil([&] { return peers.size() == 1; });
    clients.connect(url, kPlayers);
    Crowd::waitUntil([&] { return peers.size() == kPlayers + 1; });
    revealAndWait(state, *sender.sockets.front(), clients);
}
BENCHMARK(BM_BareBroadcast50)->MeasureProcessCPUTime()->UseRealTime();

// The GM reveals all 875 cells one at a time; every player must end at the
// last revision. Per message in the counter.
void BM_TableStorm875(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<LiveTable>();
        Crowd players, gm;
        table->join(players, gm);
        const qint64 before = players.received;
        state.ResumeTiming();
        for (int cell = 0; cell < kCellCount; ++cell)
            gm.sockets.front()->sendTextMessage(command(cell, true));
        if (!Crowd::waitUntil(
                [&] { return players.received >= before + qint64(kPlayers) * kCellCount; }))
            state.SkipWithError("a player missed a change");
        state.PauseTiming();
        players.sockets.clear();
        gm.sockets.clear();
        table.reset();
        state.ResumeTiming();
    }
    state.counters["per_message_ns"] = benchmark::Counter(double(state.iterations()) * kCellCount,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TableStorm875)->MeasureProcessCPUTime()->UseRealTime()->Iterations(3);

qint64 residentKilobytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression rss(QStringLiteral("VmRSS:\\s+(\\d+) kB"));
    return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

// The real server's resident memory with 100 players, and what each of the
// next 100 adds.
void BM_TableMemory(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.map"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(mapfile::encode(fullMap()));
    file.close();
    for (auto _ : state) {
        QProcess server;
        server.start(
            QCoreApplication::applicationDirPath() + QStringLiteral("/../src/cli/vellumor-map"),
            {QStringLiteral("table"), path, QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                QStringLiteral("--port"), QStringLiteral("0")});
        QString printed;
        static const QRegularExpression port(QStringLiteral("127\\.0\\.0\\.1:(\\d+)/"));
        while (!port.match(printed).hasMatch() && server.waitForReadyRead(10'000))
            printed += QString::fromUtf8(server.readAllStandardOutput());
        const QUrl url(QStringLiteral("ws://127.0.0.1:%1/ws").arg(port.match(printed).captured(1)));
        const QString hello = QStringLiteral("{\"type\":\"hello\",\"role\":\"player\"}");
        // The server holds at most 64 connections: 100 players are the
        // memory of 48 and what each of the 16 after them added.
        Crowd first, second;
        first.connect(url, 48, hello);
        const qint64 some = residentKilobytes(server.processId());
        second.connect(url, 16, hello);
        const qint64 more = residentKilobytes(server.processId());
        const double perPlayer = double(more - some) / 16.0;
        state.counters["resident_64_kB"] = double(more);
        state.counters["per_player_kB"] = perPlayer;
        state.counters["resident_100_kB"] = double(more) + 36 * perPlayer;
        server.kill();
        server.waitForFinished();
    }
}
BENCHMARK(BM_TableMemory)->Iterations(1);

} // namespace
} // namespace vellumor::bench
