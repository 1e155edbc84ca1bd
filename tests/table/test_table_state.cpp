#include "document/CellGrid.h"
#include "document/MapCodec.h"
#include "support/TestFiles.h"
#include "symbols/SymbolNames.h"
#include "table/Table.h"
#include "table/TableFile.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace vellumor;
using namespace vellumor::table;
using namespace vellumor::testing;

namespace {

QString writeMap(const QTemporaryDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    writeFile(path, mapfile::encode(MapCodes {}));
    return path;
}

MapState someState()
{
    MapState state;
    state.rev = 41;
    state.revealed.set(0).set(36).set(874);
    state.prepared.set(5);
    state.frame = CellRect {3, 2, 12, 9};
    state.grid = false;
    state.party = {36, kNoMarker, kNoMarker, 874, kNoMarker, 0};
    state.follow = true;
    state.range = kTorchRange;
    return state;
}

// A wall from top to bottom down column 10: nothing on one side of it is seen
// from the other.
MapCodes wallDownColumnTen()
{
    MapCodes codes {};
    for (int row = 0; row < kMapRows; ++row)
        codes[std::size_t(cellIndex(10, row))] = sym::WallVertical;
    return codes;
}

int at(int column, int row)
{
    return readingIndex({column, row});
}

Party partyAt(int cell)
{
    Party party = kNoParty;
    party[0] = cell;
    return party;
}

QString openingProblem(const QStringList &paths, bool reset = false)
{
    const auto opened = openTableMaps(paths, reset);
    const auto *problem = std::get_if<QString>(&opened);
    return problem ? *problem : QString();
}

SetCells reveal(int cell)
{
    return SetCells {0, {cell}, true, false};
}

} // namespace

class TestTableState : public QObject
{
    Q_OBJECT

private slots:
    void theStateFileKeepsEverything()
    {
        QTemporaryDir folder;
        const QString map = writeMap(folder, QStringLiteral("town.map"));
        QVERIFY(!writeTableFile(map, someState()));
        const auto read = readTableFile(map);
        QVERIFY(std::holds_alternative<MapState>(read));
        QVERIFY(std::get<MapState>(read).sameView(someState()));
        QCOMPARE(std::get<MapState>(read).rev, 41);
        QVERIFY(std::get<MapState>(readTableFile(folder.filePath(QStringLiteral("new.map"))))
                    .revealed.none());

        // A file written before the party was kept holds none, and follows no one.
        QJsonObject older
            = QJsonDocument::fromJson(tableFileBytes(QStringLiteral("town.map"), someState()))
                  .object();
        for (const char *key : {"party", "follow", "range"})
            QVERIFY(older.take(QLatin1String(key)) != QJsonValue::Undefined);
        writeFile(tableFilePath(map), QJsonDocument(older).toJson());
        const auto readOlder = readTableFile(map);
        QVERIFY(std::holds_alternative<MapState>(readOlder));
        QCOMPARE(std::get<MapState>(readOlder).party, kNoParty);
    }

    void aStateThatIsNotThisMapsIsRefusedAndKept()
    {
        QTemporaryDir folder;
        const QString town = writeMap(folder, QStringLiteral("town.map"));
        const QString castle = writeMap(folder, QStringLiteral("castle.map"));
        const QByteArray whole = tableFileBytes(QStringLiteral("town.map"), someState());
        const QList<QPair<QByteArray, QString>> cases {
            {whole.left(whole.size() / 2), QStringLiteral("not a table state file")},
            {QByteArray(whole).replace("\"revealed\":\"1", "\"revealed\":\"x"),
                QStringLiteral("damaged")},
            {"", QStringLiteral("not a table state file")},
            {QByteArray(whole).replace("\"cell\":874", "\"cell\":875"), QStringLiteral("damaged")},
            {QByteArray(whole).replace("\"range\":4", "\"range\":0"), QStringLiteral("damaged")},
            {QByteArray(whole).replace("\"colour\":3", "\"colour\":0"), QStringLiteral("damaged")},
        };
        for (const auto &[bytes, reason] : cases) {
            writeFile(tableFilePath(town), bytes);
            QVERIFY2(openingProblem({town}).contains(reason), qPrintable(openingProblem({town})));
            QCOMPARE(readFile(tableFilePath(town)), bytes);
        }
        writeFile(tableFilePath(castle), tableFileBytes(QStringLiteral("town.map"), someState()));
        QVERIFY(openingProblem({castle}).contains(QStringLiteral("another map")));

        // --reset starts afresh and replaces the file only with the first change.
        auto opened = openTableMaps({castle}, true);
        QVERIFY(std::holds_alternative<std::vector<TableMap>>(opened));
        Table table(std::move(std::get<std::vector<TableMap>>(opened)),
            [](const TableMap &map, const MapState &state) {
                return writeTableFile(map.path, state);
            });
        QVERIFY(table.shownMap().state.revealed.none());
        QVERIFY(readFile(tableFilePath(castle)).contains("town.map"));
        QVERIFY(std::holds_alternative<Applied>(table.apply(reveal(3))));
        QVERIFY(std::holds_alternative<MapState>(readTableFile(castle)));
    }

    void mapsAreCheckedBeforeServing()
    {
        QTemporaryDir folder;
        const QString town = writeMap(folder, QStringLiteral("town.map"));
        writeFile(folder.filePath(QStringLiteral("bad.map")), "1\nabc\n");
        QVERIFY(openingProblem({town, folder.filePath(QStringLiteral("bad.map"))})
                    .startsWith(folder.filePath(QStringLiteral("bad.map:"))));
        QVERIFY(openingProblem({town, town}).contains(QStringLiteral("named twice")));
        QVERIFY(openingProblem({folder.filePath(QStringLiteral("missing.map"))})
                    .contains(QStringLiteral("missing.map")));
        if (::geteuid() == 0)
            QSKIP("root writes in any folder");
        QVERIFY(
            QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QString problem = openingProblem({town});
        QFile::setPermissions(folder.path(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY2(problem.contains(QStringLiteral("cannot write")), qPrintable(problem));
    }

    void undoRedoAndFailedSaves()
    {
        bool failing = false;
        int saves = 0;
        Table table({TableMap {QStringLiteral("town.map"), QStringLiteral("town.map"), {}, {}}},
            [&](const TableMap &, const MapState &) -> std::optional<QString> {
                ++saves;
                return failing ? std::optional<QString>(QStringLiteral("disk full")) : std::nullopt;
            });
        for (int cell = 0; cell < 105; ++cell)
            QVERIFY(std::holds_alternative<Applied>(table.apply(reveal(cell))));
        QCOMPARE(saves, 105);
        // Revealing what is revealed changes nothing: no revision, no step.
        QCOMPARE(std::get<Applied>(table.apply(reveal(0))).map, -1);
        for (int step = 0; step < int(Table::kUndoSteps); ++step)
            QVERIFY(std::holds_alternative<Applied>(table.apply(Undo {})));
        QVERIFY(std::holds_alternative<QString>(table.apply(Undo {})));
        QCOMPARE(table.shownMap().state.revealed.count(), std::size_t(5));
        QCOMPARE(table.shownMap().state.rev, 205); // revisions only go forward
        QVERIFY(std::holds_alternative<Applied>(table.apply(Redo {})));
        QVERIFY(table.shownMap().state.revealed[5]);

        failing = true;
        const MapState before = table.shownMap().state;
        QVERIFY(std::holds_alternative<QString>(table.apply(SetAll {0, true})));
        QVERIFY(std::holds_alternative<QString>(table.apply(Redo {})));
        QVERIFY(table.shownMap().state.sameView(before));
        QCOMPARE(table.shownMap().state.rev, before.rev);
        failing = false;
        QVERIFY(std::holds_alternative<Applied>(table.apply(Redo {})));
        QVERIFY(table.canUndo());
        QVERIFY(std::holds_alternative<QString>(table.apply(ShowMap {1})));
    }

    // Following the party, each move reveals what the moved marker sees from
    // its new cell, on top of what was seen, as one step of undo.
    void theFollowedPartyRevealsWhatItSees()
    {
        Table table({TableMap {QStringLiteral("town.map"), QStringLiteral("town.map"),
                        wallDownColumnTen(), {}}},
            [](const TableMap &, const MapState &) { return std::nullopt; });
        const auto &state = [&]() -> const MapState & { return table.shownMap().state; };
        QVERIFY(std::holds_alternative<Applied>(table.apply(SetParty {0, partyAt(at(5, 5))})));
        QVERIFY(state().revealed.none()); // placed, but not followed yet

        QVERIFY(std::holds_alternative<Applied>(table.apply(SetFollow {0, true, {}})));
        QVERIFY(
            state().revealed[std::size_t(at(0, 24))] && state().revealed[std::size_t(at(10, 0))]);
        QVERIFY(!state().revealed[std::size_t(at(11, 5))]);

        QVERIFY(std::holds_alternative<Applied>(table.apply(SetParty {0, partyAt(at(20, 5))})));
        QVERIFY(state().revealed[std::size_t(at(34, 24))]);
        QVERIFY(state().revealed[std::size_t(at(0, 0))]); // what was seen stays seen
        QVERIFY(std::holds_alternative<Applied>(table.apply(Undo {})));
        QCOMPARE(state().party, partyAt(at(5, 5)));
        QVERIFY(!state().revealed[std::size_t(at(34, 24))]);

        // By torchlight the party sees four cells along the row, not five.
        QVERIFY(std::holds_alternative<Applied>(table.apply(SetFollow {0, true, kTorchRange})));
        QVERIFY(std::holds_alternative<Applied>(table.apply(SetParty {0, partyAt(at(24, 5))})));
        QVERIFY(
            state().revealed[std::size_t(at(28, 5))] && !state().revealed[std::size_t(at(29, 5))]);
        // A one-off look from a cell uses the map's range too.
        QVERIFY(std::holds_alternative<Applied>(
            table.apply(RevealRegion {0, at(24, 20), Region::Sight, true, false})));
        QVERIFY(state().revealed[std::size_t(at(24, 16))]
            && !state().revealed[std::size_t(at(24, 15))]);

        // Markers off the map, and ranges out of bounds, change nothing.
        QVERIFY(std::holds_alternative<QString>(table.apply(SetParty {0, partyAt(kCellCount)})));
        QVERIFY(std::holds_alternative<QString>(table.apply(SetFollow {0, true, 0})));
        QCOMPARE(state().party, partyAt(at(24, 5)));
    }
};

QTEST_GUILESS_MAIN(TestTableState)
#include "test_table_state.moc"
