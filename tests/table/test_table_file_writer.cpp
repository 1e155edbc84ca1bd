// The state written in turn into the state file and a hidden one beside it:
// each write leaves the whole newest state in one of them, which reading
// takes, the state file holds it once settled, and whatever another program
// did to the files is never written over.
#include "document/MapCodec.h"
#include "support/TestFiles.h"
#include "table/TableFile.h"
#include "table/TableFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace vellumor;
using namespace vellumor::table;
using namespace vellumor::testing;

namespace {

MapState revision(qint64 rev)
{
    MapState state;
    state.rev = rev;
    state.revealed.set(std::size_t(rev % kCellCount));
    return state;
}

qint64 savedRev(const QString &map)
{
    const auto saved = readTableFile(map);
    return std::holds_alternative<MapState>(saved) ? std::get<MapState>(saved).rev : -1;
}

} // namespace

class TestTableFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void everyWriteLeavesTheWholeLastState()
    {
        QTemporaryDir folder;
        const QString map = folder.filePath(QStringLiteral("town.map"));
        QVERIFY(writeFile(map, mapfile::encode(MapCodes {})));
        {
            TableFileWriter writer;
            for (qint64 rev = 1; rev <= 12; ++rev) {
                QVERIFY(!writer.write(map, revision(rev)));
                QCOMPARE(savedRev(map), rev);
                // A write cut short spoils the older file only.
                const QString older = rev % 2 == 0 ? tableFilePath(map) : hiddenTableFilePath(map);
                if (rev > 1) {
                    const QByteArray kept = readFile(older);
                    QVERIFY(writeFile(older, kept.left(kept.size() / 2)));
                    QCOMPARE(savedRev(map), rev);
                    QVERIFY(writeFile(older, kept));
                }
            }
            QVERIFY(QFileInfo::exists(hiddenTableFilePath(map)));
            writer.settle();
            QCOMPARE(readFile(tableFilePath(map)), tableFileBytes("town.map", revision(12)));
            QVERIFY(!writer.write(map, revision(13)));
        }
        QCOMPARE(readFile(tableFilePath(map)), tableFileBytes("town.map", revision(13)));
        // Gone with the writer; and nothing else was left in the folder.
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList {QStringLiteral("town.map"), QStringLiteral("town.map.table")}));
    }

    void whatAnotherProgramDidIsRespected()
    {
        QTemporaryDir folder;
        const QString map = folder.filePath(QStringLiteral("town.map"));
        QVERIFY(writeFile(map, mapfile::encode(MapCodes {})));
        const QString state = tableFilePath(map);
        TableFileWriter writer;
        QVERIFY(!writer.write(map, revision(1)));
        QVERIFY(!writer.write(map, revision(2)));

        // The state file replaced by another program: the next write lands
        // under its name, the other program's file is not written into.
        QVERIFY(writeFile(folder.filePath(QStringLiteral("other")), "x"));
        QVERIFY(
            ::rename(qPrintable(folder.filePath(QStringLiteral("other"))), qPrintable(state)) == 0);
        QVERIFY(!writer.write(map, revision(3)));
        QCOMPARE(savedRev(map), 3);
        QVERIFY(!writer.write(map, revision(4)));
        QCOMPARE(savedRev(map), 4);

        // The hidden file removed, or another file put in its place.
        QVERIFY(QFile::remove(hiddenTableFilePath(map)));
        QVERIFY(!writer.write(map, revision(5)));
        QCOMPARE(savedRev(map), 5);
        QVERIFY(writeFile(hiddenTableFilePath(map) + QStringLiteral(".tmp"), "stale"));
        QVERIFY(::rename(qPrintable(hiddenTableFilePath(map) + QStringLiteral(".tmp")),
                    qPrintable(hiddenTableFilePath(map)))
            == 0);
        QVERIFY(!writer.write(map, revision(6)));
        QCOMPARE(savedRev(map), 6);
        QVERIFY(!writer.write(map, revision(7)));
        QCOMPARE(savedRev(map), 7);

        // Made read-only to keep it: refused, and left as it was.
        QVERIFY(::chmod(qPrintable(state), 0444) == 0);
        if (::access(qPrintable(state), W_OK) != 0) {
            QVERIFY(writer.write(map, revision(8)).has_value());
            QCOMPARE(savedRev(map), 7);
        }
        QVERIFY(::chmod(qPrintable(state), 0644) == 0);

        // A link named like the state keeps pointing where it did.
        const QString elsewhere = folder.filePath(QStringLiteral("kept.table"));
        QVERIFY(QFile::rename(state, elsewhere));
        QVERIFY(QFile::link(elsewhere, state));
        QVERIFY(!writer.write(map, revision(9)));
        QVERIFY(QFileInfo(state).isSymLink());
        QCOMPARE(savedRev(map), 9);
    }
};

QTEST_GUILESS_MAIN(TestTableFileWriter)
#include "test_table_file_writer.moc"
