#include "TableFixture.h"

#include "document/CellGrid.h"
#include "symbols/SymbolNames.h"
#include "table/TableMessages.h"

#include <QSignalSpy>
#include <QTcpSocket>

using namespace vellumor;
using namespace vellumor::table;
using namespace vellumor::testing;

namespace {

// Every cell holds a drawn symbol, so that any hidden cell's code that leaked
// would be a real code, not -1 or blank.
MapCodes busyMap(int shift)
{
    MapCodes codes {};
    for (int index = 0; index < kCellCount; ++index)
        codes[std::size_t(index)] = SymbolCode(1 + (index + shift) % kHighestSymbolCode);
    return codes;
}

TableLimits shortLimits()
{
    TableLimits limits;
    limits.front.requestTimeout = std::chrono::milliseconds(200);
    limits.helloTimeout = std::chrono::milliseconds(200);
    return limits;
}

QJsonArray indices(std::initializer_list<int> list)
{
    QJsonArray array;
    for (const int index : list)
        array.append(index);
    return array;
}

// The player's picture, its messages applied in order as a page does, is
// what the table holds: a revealed cell's true code, -1 elsewhere.
void checkPlayerSees(const TableClient &player, const Table &table)
{
    std::array<int, kCellCount> picture {};
    QJsonValue party;
    for (const QJsonObject &message : player.messages) {
        if (message.contains(QStringLiteral("party")))
            party = message.value(QStringLiteral("party"));
        const bool whole
            = message.value(QStringLiteral("type")).toString() == QLatin1String("state");
        const QJsonArray cells = message.value(QStringLiteral("cells")).toArray();
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (whole)
                picture[std::size_t(i)] = cells[i].toInt();
            else
                picture[std::size_t(cells[i].toArray()[0].toInt())] = cells[i].toArray()[1].toInt();
        }
    }
    const TableMap &map = table.shownMap();
    QCOMPARE(player.messages.back().value(QStringLiteral("rev")).toInteger(), map.state.rev);
    QCOMPARE(picture, playerCodes(map.codes, map.state));
    // The markers the player knows of are those on cells it sees, no others.
    QCOMPARE(party, partyJson(map.state.party, &map.state.revealed));
}

QJsonArray markers(std::initializer_list<std::pair<int, int>> list)
{
    QJsonArray array;
    for (const auto &[colour, cell] : list)
        array.append(
            QJsonObject {{QStringLiteral("colour"), colour}, {QStringLiteral("cell"), cell}});
    return array;
}

} // namespace

class TestTableServer : public QObject
{
    Q_OBJECT

private slots:
    void joiningNeedsHelloAndTheSecret()
    {
        TableFixture table({busyMap(0)}, shortLimits());
        auto player = table.join(QStringLiteral("player"));
        const QJsonObject state = player->messages.front();
        QCOMPARE(state.value(QStringLiteral("type")).toString(), QStringLiteral("state"));
        QCOMPARE(state.value(QStringLiteral("cells")).toArray().size(), kCellCount);
        QVERIFY(std::all_of(state.value(QStringLiteral("cells")).toArray().begin(),
            state.value(QStringLiteral("cells")).toArray().end(),
            [](const QJsonValue &cell) { return cell.toInt() == -1; }));

        const auto closedWith = [&](auto &&act) {
            TableClient client(table.server->port());
            client.waitOpen();
            act(client);
            client.waitClosed();
            return client.closeCode;
        };
        QCOMPARE(closedWith([](TableClient &c) {
            c.hello(QStringLiteral("gm"), QStringLiteral("0123456789abcdefghijkm"));
        }),
            4401);
        QCOMPARE(closedWith([](TableClient &c) { c.hello(QStringLiteral("gm")); }), 4401);
        QCOMPARE(closedWith([](TableClient &c) { c.send(message("resync")); }), 4400);
        QCOMPARE(closedWith([](TableClient &c) { c.socket.sendTextMessage(QStringLiteral("{")); }),
            4400);
        QCOMPARE(closedWith([](TableClient &c) { c.socket.sendBinaryMessage("{}"); }), 4400);
        QCOMPARE(closedWith([](TableClient &) {}), 4408);
        QCOMPARE(closedWith([](TableClient &c) {
            c.hello(QStringLiteral("player"));
            c.socket.sendTextMessage(QString(kMaxMessageSize + 1, QLatin1Char(' ')));
        }),
            1009);
        QVERIFY(!player->closed);
    }

    void playersReceiveNoHiddenCode()
    {
        TableFixture table({busyMap(0), busyMap(7)});
        auto gm = table.join(QStringLiteral("gm"));
        auto player = table.join(QStringLiteral("player"));
        const QList<QJsonObject> commands {
            message("set", {{"map", 0}, {"cells", indices({0, 1, 36, 874})}, {"revealed", true}}),
            message("set",
                {{"map", 0}, {"cells", indices({2, 3})}, {"revealed", true}, {"prepare", true}}),
            message("set", {{"map", 0}, {"cells", indices({1})}, {"revealed", false}}),
            message("show-prepared", {{"map", 0}}),
            message("region", {{"map", 0}, {"cell", 100}, {"kind", "picture"}, {"revealed", true}}),
            message("undo"),
            message("redo"),
            message("all", {{"map", 1}, {"revealed", true}}),
            message("show-map", {{"map", 1}}),
            message("set", {{"map", 1}, {"cells", indices({5})}, {"revealed", false}}),
            message("show-map", {{"map", 0}}),
            message("all", {{"map", 0}, {"revealed", false}}),
            // The party moves across hidden and revealed cells, followed or not.
            message("party", {{"map", 0}, {"markers", markers({{0, 400}, {2, 0}})}}),
            message("set", {{"map", 0}, {"cells", indices({0, 401})}, {"revealed", true}}),
            message("party", {{"map", 0}, {"markers", markers({{0, 401}, {2, 402}})}}),
            message("follow", {{"map", 0}, {"follow", true}, {"range", 2}}),
            message("party", {{"map", 0}, {"markers", markers({{0, 700}, {2, 402}})}}),
            message("region", {{"map", 0}, {"cell", 10}, {"kind", "sight"}, {"revealed", true}}),
            message("undo"),
            message("set", {{"map", 0}, {"cells", indices({700, 402})}, {"revealed", false}}),
            message("party", {{"map", 0}, {"markers", markers({})}}),
        };
        for (const QJsonObject &command : commands) {
            const qsizetype seen = gm->messages.size();
            gm->send(command);
            QVERIFY(!gm->waitFor(QStringLiteral("gm-state"), seen).isEmpty());
            QTRY_COMPARE(player->messages.back().value(QStringLiteral("rev")).toInteger(),
                table.state->shownMap().state.rev);
            checkPlayerSees(*player, *table.state);
        }
        // The prepared cells reached no player until shown.
        QVERIFY(!player->raw.join().contains("[2,3]"));
    }

    void undoAndRedoSayWhatTheyDid()
    {
        MapCodes codes {};
        codes[std::size_t(cellIndex(0, 0))] = sym::InnTopLeft;
        codes[std::size_t(cellIndex(1, 0))] = sym::InnTopRight;
        codes[std::size_t(cellIndex(0, 1))] = sym::InnBottomLeft;
        codes[std::size_t(cellIndex(1, 1))] = sym::InnBottomRight;
        TableFixture table({codes});
        auto gm = table.join(QStringLiteral("gm"));
        const auto stepText = [&](const QJsonObject &command) {
            const qsizetype seen = gm->messages.size();
            gm->send(command);
            return gm->waitFor(QStringLiteral("stepped"), seen)
                .value(QStringLiteral("text"))
                .toString();
        };
        gm->send(message("set", {{"map", 0}, {"cells", indices({5, 6, 7})}, {"revealed", true}}));
        QCOMPARE(stepText(message("undo")), QStringLiteral("Undid: revealed 3 cells on map0.map"));
        gm->send(
            message("region", {{"map", 0}, {"cell", 35}, {"kind", "picture"}, {"revealed", true}}));
        QCOMPARE(stepText(message("undo")), QStringLiteral("Undid: revealed the inn on map0.map"));
        QCOMPARE(stepText(message("redo")), QStringLiteral("Redid: revealed the inn on map0.map"));
        // Only the cells that changed are counted: 5 is hidden already.
        gm->send(message("set", {{"map", 0}, {"cells", indices({0, 1, 5})}, {"revealed", false}}));
        QCOMPARE(stepText(message("undo")), QStringLiteral("Undid: hid 2 cells on map0.map"));
        // An empty square is no picture.
        gm->send(message(
            "region", {{"map", 0}, {"cell", 300}, {"kind", "picture"}, {"revealed", true}}));
        QCOMPARE(stepText(message("undo")), QStringLiteral("Undid: revealed 1 cell on map0.map"));
        QCOMPARE(stepText(message("undo")), QStringLiteral("Undid: revealed the inn on map0.map"));
        // Nothing to undo is a notice, not a step.
        const qsizetype seen = gm->messages.size();
        gm->send(message("undo"));
        QVERIFY(!gm->waitFor(QStringLiteral("notice"), seen).isEmpty());
        for (qsizetype i = seen; i < gm->messages.size(); ++i)
            QVERIFY(gm->messages[i].value(QStringLiteral("type")) != QStringLiteral("stepped"));
    }

    void aPointerShowsOnlyWhere()
    {
        TableFixture table({busyMap(0), busyMap(3)});
        auto gm = table.join(QStringLiteral("gm"));
        auto player = table.join(QStringLiteral("player"));
        // Another map than the one shown: its players are none.
        gm->send(message("point", {{"map", 1}, {"cell", 40}}));
        gm->send(message("point", {{"map", 0}, {"cell", 100}}));
        const QJsonObject pointer = player->waitFor(QStringLiteral("pointer"));
        QCOMPARE(pointer, message("pointer", {{"map", 0}, {"cell", 100}}));
        QCOMPARE(std::count_if(player->messages.begin(), player->messages.end(),
                     [](const QJsonObject &m) {
                         return m.value(QStringLiteral("type")) == QStringLiteral("pointer");
                     }),
            1);
        QCOMPARE(table.state->shownMap().state.rev, 0); // nothing revealed, nothing saved

        const qsizetype seen = gm->messages.size();
        gm->send(message("point", {{"map", 0}, {"cell", kCellCount}}));
        QVERIFY(!gm->waitFor(QStringLiteral("notice"), seen).isEmpty());
        player->send(message("point", {{"map", 0}, {"cell", 1}}));
        QVERIFY(player->waitClosed());
        QCOMPARE(player->closeCode, 4403);
        QVERIFY(!gm->closed);
    }

    void onlyTheGmEndsTheTable()
    {
        TableFixture table({busyMap(0)});
        QSignalSpy stopped(table.server.get(), &TableServer::stopped);
        auto gm = table.join(QStringLiteral("gm"));
        auto player = table.join(QStringLiteral("player"));
        player->send(message("end"));
        QVERIFY(player->waitClosed());
        QCOMPARE(player->closeCode, 4403);
        QCOMPARE(stopped.size(), 0);
        gm->send(message("end"));
        QVERIFY(gm->waitClosed());
        QCOMPARE(gm->closeCode, 1000);
        QTRY_COMPARE(stopped.size(), 1);
    }

    void aPlayerCannotCommand()
    {
        TableFixture table({busyMap(0)});
        auto player = table.join(QStringLiteral("player"));
        const QByteArray before = readFile(tableFilePath(table.state->maps()[0].path));
        player->send(message("all", {{"map", 0}, {"revealed", true}}));
        QVERIFY(player->waitClosed());
        QCOMPARE(player->closeCode, 4403);
        QCOMPARE(table.state->maps()[0].state.rev, 0);
        QCOMPARE(readFile(tableFilePath(table.state->maps()[0].path)), before);
    }

    void acksCountAndLaggardsCatchUp()
    {
        TableFixture table({busyMap(0)});
        auto gm = table.join(QStringLiteral("gm"));
        auto first = table.join(QStringLiteral("player"));
        auto second = table.join(QStringLiteral("player"));
        for (int cell = 0; cell < 3; ++cell)
            gm->send(message("set", {{"map", 0}, {"cells", indices({cell})}, {"revealed", true}}));
        QTRY_COMPARE(table.state->shownMap().state.rev, 3);
        first->send(message("ack", {{"view", 1}, {"rev", 3}}));
        QTRY_COMPARE(gm->messages.back().value(QStringLiteral("upToDate")).toInt(), 1);
        QCOMPARE(gm->messages.back().value(QStringLiteral("count")).toInt(), 2);

        // A player that missed changes asks for the whole picture again.
        const qsizetype seen = second->messages.size();
        second->send(message("resync"));
        const QJsonObject state = second->waitFor(QStringLiteral("state"), seen);
        QCOMPARE(state.value(QStringLiteral("rev")).toInt(), 3);
        QCOMPARE(state.value(QStringLiteral("cells")).toArray()[2].toInt(),
            table.state->shownMap().codes[std::size_t(cellIndex(2, 0))]);
        second->send(message("ack", {{"view", 1}, {"rev", 3}}));
        QTRY_COMPARE(gm->messages.back().value(QStringLiteral("upToDate")).toInt(), 2);
    }

    void aChangeThatCannotBeSavedIsNotSent()
    {
        TableFixture table({busyMap(0)});
        auto gm = table.join(QStringLiteral("gm"));
        auto player = table.join(QStringLiteral("player"));
        QVERIFY(QDir().mkpath(tableFilePath(table.state->maps()[0].path)));
        gm->send(message("all", {{"map", 0}, {"revealed", true}}));
        const QJsonObject notice = gm->waitFor(QStringLiteral("notice"));
        QCOMPARE(notice.value(QStringLiteral("level")).toString(), QStringLiteral("error"));
        QCOMPARE(table.state->shownMap().state.rev, 0);
        QCOMPARE(player->messages.size(), 1);
    }

    void theMapChangingOnDiskReachesTheTable()
    {
        TableFixture table({busyMap(0)});
        auto gm = table.join(QStringLiteral("gm"));
        auto player = table.join(QStringLiteral("player"));
        gm->send(message("set", {{"map", 0}, {"cells", indices({0})}, {"revealed", true}}));
        QTRY_COMPARE(player->messages.size(), 2);

        MapCodes edited = busyMap(0);
        edited[std::size_t(cellIndex(0, 0))] = 42;
        edited[std::size_t(cellIndex(1, 0))] = 43; // hidden: must not reach the player
        QVERIFY(writeFile(table.state->maps()[0].path, mapfile::encode(edited)));
        const QJsonObject change = player->waitFor(QStringLiteral("change"), 2);
        // One pair, [[0, 42]]: built by append, as a braced list of one array
        // is taken for a copy of it by Clang.
        QJsonArray onlyTheRevealedCell;
        onlyTheRevealedCell.append(QJsonArray {0, 42});
        QCOMPARE(change.value(QStringLiteral("cells")).toArray(), onlyTheRevealedCell);
        QCOMPARE(table.state->shownMap().codes[std::size_t(cellIndex(1, 0))], 43);

        QVERIFY(writeFile(table.state->maps()[0].path, "not a map\n"));
        const QJsonObject notice = gm->waitFor(QStringLiteral("notice"));
        QCOMPARE(notice.value(QStringLiteral("level")).toString(), QStringLiteral("warning"));
        QVERIFY(notice.value(QStringLiteral("text"))
                    .toString()
                    .contains(QStringLiteral("keeps the last good map")));
        QCOMPARE(table.state->shownMap().codes[std::size_t(cellIndex(0, 0))], 42);
    }
};

QTEST_GUILESS_MAIN(TestTableServer)
#include "test_table_server.moc"
