// Replays the fuzzers' seed inputs and every input that once broke a reader,
// so that each build checks them without the fuzzer.
#include "fuzz/ImportProperties.h"
#include "fuzz/MapFileProperties.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestFuzzInputs : public QObject
{
    Q_OBJECT
private slots:
    void propertiesHold_data()
    {
        QTest::addColumn<QString>("path");
        int found = 0;
        for (const char *folder : {"corpus", "regressions"}) {
            const QDir dir(QStringLiteral(VELLUMOR_FUZZ_INPUTS "/") + QLatin1String(folder));
            for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
                const QString path = dir.filePath(name);
                QTest::newRow(qPrintable(QLatin1String(folder) + QLatin1Char('/') + name)) << path;
                ++found;
            }
        }
        QVERIFY2(found >= 20, "the seed corpus is missing");
    }

    void propertiesHold()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString problem = vellumor::fuzzing::checkMapFile(bytes);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // The readers of imported files: seeds and past findings, each file's
    // first byte choosing the reader.
    void importPropertiesHold_data()
    {
        QTest::addColumn<QString>("path");
        int found = 0;
        for (const char *folder : {"imports", "imports-regressions"}) {
            const QDir dir(QStringLiteral(VELLUMOR_FUZZ_INPUTS "/") + QLatin1String(folder));
            for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
                QTest::newRow(qPrintable(QLatin1String(folder) + QLatin1Char('/') + name))
                    << dir.filePath(name);
                ++found;
            }
        }
        QVERIFY2(found >= 10, "the seed corpus of the import readers is missing");
    }

    void importPropertiesHold()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString problem = vellumor::fuzzing::checkImport(file.readAll());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestFuzzInputs)
#include "test_fuzz_inputs.moc"
