// Saves that cannot succeed, through the real writer: each gives a clear
// message, and leaves every file, the title and the current file as they were.
#include "support/DocumentFakes.h"
#include "document/FileReplacing.h"
#include "document/MapCodec.h"
#include "document/MapStorage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

// Every entry under a directory, hidden ones too, with the bytes of each file.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QByteArray bytes = "(not a file)";
        if (it.fileInfo().isFile() && !it.fileInfo().isSymLink()) {
            QFile file(path);
            bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
        }
        entries.insert(QDir(root).relativeFilePath(path), bytes);
    }
    return entries;
}

// Makes every write past limit bytes of any file fail, as a full disk does,
// until it goes out of scope.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_previous;
        lowered.rlim_cur = limit;
        m_active = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_previous {};
    void (*m_previousHandler)(int) = nullptr;
    bool m_active = false;
};

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Standard m_document;
    RecordingTitle m_title;
    QByteArray m_oldBytes;

    QString oldFile() const { return m_dir.filePath(QStringLiteral("old.map")); }

    // Tries to save as name in directory and expects a refusal that names the
    // file and gives reason, with nothing changed anywhere.
    void verifySaveRefused(const QString &directory, const QString &name, const QString &reason)
    {
        const auto filesBefore = snapshot(m_dir.path());
        const StorageOutcome outcome = SaveMapAs(m_document, m_title, directory, name);
        QVERIFY(outcome);
        QCOMPARE(outcome->title, QStringLiteral("Error: Map not saved"));
        QVERIFY2(outcome->text.contains(QDir::toNativeSeparators(directory + QLatin1Char('/') + name)),
                 qPrintable(outcome->text));
        QVERIFY2(outcome->text.contains(reason), qPrintable(outcome->text));
        verifyNothingChanged(filesBefore);
    }

    void verifyNothingChanged(const QMap<QString, QByteArray> &filesBefore)
    {
        QCOMPARE(snapshot(m_dir.path()), filesBefore);
        QCOMPARE(m_document.MapDirectory, m_dir.path());
        QCOMPARE(m_document.MapFileName, QStringLiteral("old.map"));
        QCOMPARE(m_title.titles, QStringList {titles::forFile(QStringLiteral("old.map"))});
    }

private slots:
    // Each case starts with a map saved as old.map, which is also the current file.
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
        m_document = Standard {};
        m_document.MapCells.fill(3);
        QVERIFY(!SaveMapAs(m_document, m_title, m_dir.path(), QStringLiteral("old.map")));
        m_title = RecordingTitle {};
        m_title.showTitle(titles::forFile(QStringLiteral("old.map")));
        m_oldBytes = mapfile::encode(m_document.MapCells);
        // What the failed saves below try to write: longer than the old file.
        m_document.MapCells.fill(64);
    }

    void missingFolder()
    {
        verifySaveRefused(m_dir.filePath(QStringLiteral("nowhere")), QStringLiteral("new.map"),
                          QStringLiteral("There is no such folder."));
    }

    void folderRemovedAfterItWasListed()
    {
        const QString folder = m_dir.filePath(QStringLiteral("listed"));
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(QDir(m_dir.path()).entryList(QDir::Dirs).contains(QStringLiteral("listed")));
        QVERIFY(QDir().rmdir(folder));
        verifySaveRefused(folder, QStringLiteral("new.map"), QStringLiteral("There is no such folder."));
    }

    void nameLeadsIntoAMissingFolder()
    {
        verifySaveRefused(m_dir.path(), QStringLiteral("sub/new.map"),
                          QStringLiteral("There is no such folder."));
    }

    void nameIsAFolder()
    {
        QVERIFY(QDir().mkdir(m_dir.filePath(QStringLiteral("taken.map"))));
        verifySaveRefused(m_dir.path(), QStringLiteral("taken.map"),
                          QStringLiteral("A folder of that name is already there."));
    }

    // The system would cut the name at the NUL and write over "cut".
    void nameHoldsANul()
    {
        QFile cut(m_dir.filePath(QStringLiteral("cut")));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write("keep me");
        cut.close();
        verifySaveRefused(m_dir.path(), QStringLiteral("cut") + QChar(0) + QStringLiteral(".map"),
                          QStringLiteral("NUL"));
    }

    // Renaming over a pipe would turn it into a plain file; writing to it
    // would wait for a reader forever.
    void nameIsAPipe()
    {
        const QByteArray pipe = QFile::encodeName(m_dir.filePath(QStringLiteral("pipe.map")));
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
        verifySaveRefused(m_dir.path(), QStringLiteral("pipe.map"),
                          QStringLiteral("not a map file"));
        struct stat status {};
        QCOMPARE(::stat(pipe.constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
    }

    // Folders of the system that take no new file, whoever asks.
    void folderTakesNoNewFiles_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("/proc") << QStringLiteral("/proc") << QStringLiteral("does not take new files");
        QTest::newRow("/sys") << QStringLiteral("/sys") << QString();
    }

    void folderTakesNoNewFiles()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        if (!QFileInfo(folder).isDir())
            QSKIP("this system has no such folder");
        const QString name = QStringLiteral("vellumor-fault-test.map");
        verifySaveRefused(folder, name, reason);
        QVERIFY(!QFileInfo::exists(folder + QLatin1Char('/') + name));
    }

    // A full disk, as the kernel reports it when a write goes past the largest
    // size this process may write: the old file stays whole and no partial
    // copy is left beside it.
    void diskFullMidWayKeepsTheOldFile()
    {
        const auto filesBefore = snapshot(m_dir.path());
        StorageOutcome outcome;
        {
            FileSizeLimit limit(1000);
            if (!limit.active())
                QSKIP("cannot limit the size of written files here");
            outcome = SaveMap(m_document, m_title);
        }
        QVERIFY(outcome);
        QCOMPARE(outcome->title, QStringLiteral("Error: Map not saved"));
        QVERIFY2(outcome->text.contains(QDir::toNativeSeparators(oldFile())), qPrintable(outcome->text));
        QVERIFY2(outcome->text.contains(QStringLiteral("large")), qPrintable(outcome->text));
        verifyNothingChanged(filesBefore);

        // And once there is room again, the same save goes through.
        QVERIFY(!SaveMap(m_document, m_title));
        QCOMPARE(snapshot(m_dir.path()).value(QStringLiteral("old.map")),
                 mapfile::encode(m_document.MapCells));
    }

    // What a successful save keeps: links, permissions, and no stray files.
    void replacingKeepsLinksAndPermissions()
    {
        QVERIFY(QFile::link(oldFile(), m_dir.filePath(QStringLiteral("link.map"))));
        QVERIFY(QFile::setPermissions(oldFile(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(!SaveMapAs(m_document, m_title, m_dir.path(), QStringLiteral("link.map")));

        QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("link.map"))).isSymLink());
        const auto files = snapshot(m_dir.path());
        QCOMPARE(files.keys(), (QStringList {QStringLiteral("link.map"), QStringLiteral("old.map")}));
        QCOMPARE(files.value(QStringLiteral("old.map")), mapfile::encode(m_document.MapCells));
        QCOMPARE(QFile::permissions(oldFile()) & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    }

    void newFileTakesTheUsualPermissions()
    {
        const mode_t mask = ::umask(022);
        const bool saved = !SaveMapAs(m_document, m_title, m_dir.path(), QStringLiteral("new.map"));
        ::umask(mask);
        QVERIFY(saved);
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(m_dir.filePath(QStringLiteral("new.map"))).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, mode_t(0644));
    }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "test_save_faults.moc"
