// The examples of the table's protocol document, held against the server: the
// messages it sends have the examples' fields, and it carries out every
// command the document shows.
#include "TableFixture.h"

#include "document/CellGrid.h"
#include "symbols/SymbolNames.h"

#include <QFile>
#include <QRegularExpression>

using namespace vellumor;
using namespace vellumor::table;
using namespace vellumor::testing;

namespace {

// Each JSON example under each heading of the document, "…" left out.
QMultiMap<QString, QJsonObject> documentExamples()
{
    QFile file(QStringLiteral(VELLUMOR_TABLE_DOC));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QMultiMap<QString, QJsonObject> examples;
    QString heading;
    bool inJson = false;
    QString pending;
    int depth = 0;
    for (QString line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('#')))
            heading = line.section(QLatin1Char(' '), 1);
        if (line.startsWith(QLatin1String("```")))
            inJson = line == QLatin1String("```json");
        else if (inJson) {
            line.replace(QStringLiteral(",…"), QString());
            pending += line;
            depth += int(line.count(QLatin1Char('{'))) - int(line.count(QLatin1Char('}')));
            if (depth == 0 && !pending.isEmpty()) {
                examples.insert(heading, QJsonDocument::fromJson(pending.toUtf8()).object());
                pending.clear();
            }
        }
    }
    return examples;
}

QStringList keysOf(const QJsonObject &object)
{
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

QJsonObject exampleOf(const QList<QJsonObject> &examples, const QString &type)
{
    for (const QJsonObject &example : examples) {
        if (example.value(QStringLiteral("type")).toString() == type)
            return example;
    }
    return {};
}

// A gate in a wall at cell 36 (column 1, row 1): a picture, a place to walk
// from, and part of a wall run.
MapCodes gateMap()
{
    MapCodes codes {};
    codes[std::size_t(cellIndex(0, 1))] = sym::WallHorizontal;
    codes[std::size_t(cellIndex(1, 1))] = sym::WoodenGateHorizontal;
    codes[std::size_t(cellIndex(2, 1))] = sym::WallHorizontal;
    return codes;
}

} // namespace

class TestTableDoc : public QObject
{
    Q_OBJECT

private slots:
    void theServerSpeaksAsDocumented()
    {
        const auto examples = documentExamples();
        QCOMPARE(examples.values(QStringLiteral("From the GM")).size(), 17);
        TableFixture table({gateMap(), gateMap()});
        auto gm = table.join(QStringLiteral("gm"));
        auto player = table.join(QStringLiteral("player"));
        for (const QJsonObject &example : examples.values(QStringLiteral("From any client")))
            player->send(example);

        // Oldest first, as the document lists them.
        auto commands = examples.values(QStringLiteral("From the GM"));
        std::reverse(commands.begin(), commands.end());
        for (const QJsonObject &command : commands) {
            const qsizetype seen = gm->messages.size();
            gm->send(command);
            gm->send(message("resync"));
            QVERIFY(!gm->waitFor(QStringLiteral("gm-state"), seen).isEmpty());
            for (qsizetype i = seen; i < gm->messages.size(); ++i)
                QVERIFY2(gm->messages[i].value(QStringLiteral("type")) != QStringLiteral("notice"),
                    qPrintable(QJsonDocument(command).toJson(QJsonDocument::Compact)
                        + QJsonDocument(gm->messages[i]).toJson(QJsonDocument::Compact)));
        }
        QVERIFY(!player->closed);

        const auto toPlayer = examples.values(QStringLiteral("To a player"));
        QStringList changeKeys;
        for (const QJsonObject &example : toPlayer)
            changeKeys += example.keys();
        for (const QJsonObject &sent : player->messages) {
            const QString type = sent.value(QStringLiteral("type")).toString();
            if (type == QLatin1String("state"))
                QCOMPARE(keysOf(sent), keysOf(exampleOf(toPlayer, type)));
            else
                for (const QString &key : sent.keys())
                    QVERIFY2(changeKeys.contains(key), qPrintable(key));
        }

        const auto toGm = examples.values(QStringLiteral("To the GM"));
        QVERIFY(QFile::remove(table.state->maps()[0].path));
        QVERIFY(writeFile(table.state->maps()[0].path, "broken\n"));
        QVERIFY(!gm->waitFor(QStringLiteral("notice")).isEmpty());
        for (const QString type : {"gm-state", "players", "notice", "stepped"}) {
            const QJsonObject sent = gm->waitFor(type);
            QCOMPARE(keysOf(sent), keysOf(exampleOf(toGm, type)));
        }
        QCOMPARE(keysOf(gm->waitFor(QStringLiteral("gm-state"))
                            .value(QStringLiteral("maps"))
                            .toArray()[0]
                            .toObject()),
            keysOf(exampleOf(toGm, QStringLiteral("gm-state"))
                       .value(QStringLiteral("maps"))
                       .toArray()[0]
                       .toObject()));

        const QJsonObject saved = examples.value(QStringLiteral("Saved state"));
        QCOMPARE(
            keysOf(QJsonDocument::fromJson(readFile(tableFilePath(table.state->maps()[0].path)))
                       .object()),
            keysOf(saved));
    }
};

QTEST_GUILESS_MAIN(TestTableDoc)
#include "test_table_doc.moc"
