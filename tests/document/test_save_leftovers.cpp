// The hidden files of saves that were killed halfway: removed when old, and
// nothing but them, however much another file looks like one.
#include "document/FileReplacing.h"
#include "document/MapStorage.h"
#include "support/DocumentFakes.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

// Makes an entry look untouched for an hour, without following a link.
bool age(const QString &path)
{
    struct timespec times[2];
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= 3600;
    times[1] = times[0];
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW)
        == 0;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestSaveLeftovers : public QObject
{
    Q_OBJECT

private slots:
    void onlyOldLeftoversOfExactlyTheNameGo()
    {
        QTemporaryDir folder;
        QTemporaryDir elsewhere;
        const auto in = [&](const QString &name) { return folder.filePath(name); };
        const QString prefix = QLatin1String(kReplacementPrefix);
        const QStringList leftovers {prefix + QStringLiteral("0"),
            prefix + QStringLiteral("3w5e11264sgsf")}; // 2^64 - 1, the longest
        const QStringList lookAlikes {prefix, prefix + QStringLiteral("ABC"),
            prefix + QStringLiteral("abc.map"), prefix + QStringLiteral("3w5e11264sgsfa"),
            prefix.mid(1) + QStringLiteral("abc"), QStringLiteral(".vellumor-table-abc123"),
            QStringLiteral("town.map"), QStringLiteral("town.map.table")};
        for (const QString &name : leftovers + lookAlikes) {
            QVERIFY(writeFile(in(name), "x"));
            QVERIFY(age(in(name)));
        }
        const QString fresh = prefix + QStringLiteral("fresh1");
        QVERIFY(writeFile(in(fresh), "a save in progress"));
        // A folder and a link of the very pattern, the link to a file elsewhere.
        const QString directory = prefix + QStringLiteral("dir1");
        QVERIFY(QDir(folder.path()).mkdir(directory));
        QVERIFY(writeFile(in(directory + QStringLiteral("/inside")), "kept"));
        QVERIFY(age(in(directory)));
        const QString linked = elsewhere.filePath(QStringLiteral("precious"));
        QVERIFY(writeFile(linked, "kept"));
        QVERIFY(age(linked));
        const QString link = prefix + QStringLiteral("link1");
        QVERIFY(QFile::link(linked, in(link)));
        QVERIFY(age(in(link)));

        for (const QString &name : leftovers)
            QVERIFY(isReplacementName(name));
        for (const QString &name : lookAlikes)
            QVERIFY2(!isReplacementName(name), qPrintable(name));

        QCOMPARE(removeReplacementLeftovers(folder.path()), int(leftovers.size()));
        QStringList kept = lookAlikes + QStringList {fresh, directory, link};
        kept.sort();
        QCOMPARE(entries(folder.path()), kept);
        QCOMPARE(readFile(in(directory + QStringLiteral("/inside"))), QByteArray("kept"));
        QCOMPARE(readFile(linked), QByteArray("kept"));
        QCOMPARE(removeReplacementLeftovers(folder.path() + QStringLiteral("/none")), 0);
    }

    void savingAMapClearsItsFolder()
    {
        QTemporaryDir folder;
        const QString leftover
            = folder.filePath(QLatin1String(kReplacementPrefix) + QStringLiteral("k1"));
        QVERIFY(writeFile(leftover, "half a map"));
        QVERIFY(age(leftover));
        // The hidden file goes where the map's link points, not beside the link.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("maps")));
        const QString real = folder.filePath(QStringLiteral("maps/town.map"));
        QVERIFY(QFile::link(real, folder.filePath(QStringLiteral("town.map"))));
        QCOMPARE(replacementFolder(folder.filePath(QStringLiteral("town.map"))),
            QFileInfo(real).absolutePath());

        Standard document;
        document.MapDirectory = folder.path();
        document.MapFileName = QStringLiteral("castle.map");
        RecordingTitle title;
        QVERIFY(!SaveMap(document, title));
        QVERIFY(QFileInfo::exists(folder.filePath(QStringLiteral("castle.map"))));
        QVERIFY(!QFileInfo::exists(leftover));
    }
};

QTEST_GUILESS_MAIN(TestSaveLeftovers)
#include "test_save_leftovers.moc"
