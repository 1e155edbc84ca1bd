// The sample maps in examples/: valid, in step with the layouts they are made
// from, and drawn with the joined buildings and lakes put together whole.
#include "document/CellGrid.h"
#include "document/MapFileReader.h"
#include "rules/MapLint.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <vector>

using namespace vellumor;

namespace {

const QString kExamples = QStringLiteral(VELLUMOR_EXAMPLES_DIR);

// Symbols drawn as one picture cut into cells, top row first.
const std::vector<std::vector<std::vector<int>>> kJoinedPieces {
    {{5, 6}, {9, 10}}, // inn
    {{13, 14}}, // church
    {{17, 18, 19}, {21, 22, 23}}, // castle
    {{20}, {24}}, // tower
};

int codeAt(const MapCodes &codes, int column, int row)
{
    if (column < 0 || column >= kMapColumns || row < 0 || row >= kMapRows)
        return -1;
    return codes[std::size_t(cellIndex(column, row))];
}

} // namespace

class TestExamples : public QObject
{
    Q_OBJECT
private slots:
    void examples_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"town", "castle", "desert-fort"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void examples()
    {
        QFETCH(QString, name);
        const QString mapPath = kExamples + QStringLiteral("/%1.map").arg(name);
        const auto result = readMapFile(mapPath);
        if (const auto *failure = std::get_if<MapReadFailure>(&result))
            QFAIL(qPrintable(failure->describe()));
        const MapCodes &codes = std::get<MapCodes>(result);

        // The map is exactly what its layout makes.
        QProcess make;
        make.start(QStringLiteral("sh"),
            {kExamples + QStringLiteral("/make-map.sh"),
                kExamples + QStringLiteral("/layouts/%1.txt").arg(name)});
        QVERIFY(make.waitForFinished(60000));
        QCOMPARE(make.exitCode(), 0);
        QFile map(mapPath);
        QVERIFY(map.open(QIODevice::ReadOnly));
        QCOMPARE(make.readAllStandardOutput(), map.readAll());

        // Every cell of a joined piece sits in a whole piece.
        std::vector<bool> covered(kCellCount, false);
        for (const auto &piece : kJoinedPieces) {
            for (int column = 0; column < kMapColumns; ++column) {
                for (int row = 0; row < kMapRows; ++row) {
                    if (codeAt(codes, column, row) != piece[0][0])
                        continue;
                    for (std::size_t r = 0; r < piece.size(); ++r) {
                        for (std::size_t c = 0; c < piece[r].size(); ++c) {
                            const int x = column + int(c);
                            const int y = row + int(r);
                            QVERIFY2(codeAt(codes, x, y) == piece[r][c],
                                qPrintable(QStringLiteral("piece at column %1, row %2 is broken")
                                               .arg(column)
                                               .arg(row)));
                            covered[std::size_t(cellIndex(x, y))] = true;
                        }
                    }
                }
            }
        }
        int joinedCells = 0;
        for (int i = 0; i < kCellCount; ++i) {
            for (const auto &piece : kJoinedPieces) {
                for (const auto &pieceRow : piece) {
                    for (int code : pieceRow) {
                        if (codes[std::size_t(i)] == code) {
                            QVERIFY2(covered[std::size_t(i)],
                                qPrintable(QStringLiteral("cell %1 holds a stray piece").arg(i)));
                            ++joinedCells;
                        }
                    }
                }
            }
        }
        QVERIFY2(joinedCells >= 2, "a sample map shows off the joined pieces");

        // Every river and wall joins, and lint finds nothing, not even a warning.
        const QList<rules::Finding> findings = rules::lintMap(codes);
        QVERIFY2(findings.isEmpty(),
            qPrintable(findings.isEmpty() ? QString() : rules::describe(findings.front())));
    }
};

QTEST_MAIN(TestExamples)
#include "test_examples.moc"
