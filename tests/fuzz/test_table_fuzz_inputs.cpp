// Replays the table fuzzers' seed inputs in every build.
#include "fuzz/TableProperties.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestTableFuzzInputs : public QObject
{
    Q_OBJECT
private slots:
    void propertiesHold()
    {
        int found = 0;
        for (const char *folder : {"table-http", "table-messages"}) {
            const QDir dir(QStringLiteral(VELLUMOR_FUZZ_INPUTS "/") + QLatin1String(folder));
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
                QFile file(dir.filePath(name));
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QByteArray bytes = file.readAll();
                const QString problem = QLatin1String(folder) == QLatin1String("table-http")
                    ? vellumor::fuzzing::checkTableRequest(bytes)
                    : vellumor::fuzzing::checkGmMessages(bytes);
                QVERIFY2(problem.isEmpty(), qPrintable(name + QStringLiteral(": ") + problem));
                ++found;
            }
        }
        QVERIFY2(found >= 8, "the table's seed corpus is missing");
    }
};

QTEST_GUILESS_MAIN(TestTableFuzzInputs)
#include "test_table_fuzz_inputs.moc"
