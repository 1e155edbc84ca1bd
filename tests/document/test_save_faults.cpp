// Saves that cannot succeed, through the real writer: each gives a clear
// message, and leaves every file, the title and the current file as they were.
#include "document/FileReplacing.h"
#include "document/MapCodec.h"
#include "document/MapStorage.h"
#include "support/DocumentFakes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <grp.h>
#include <linux/magic.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

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

// What a child process reports back; kCannotDropRoot asks the test to skip.
enum ChildExit { kChildPassed = 0, kChildFailed = 1, kCannotDropRoot = 77 };

// Runs check in a child process as an ordinary user: root may write any file,
// so a child of a test run as root first becomes "nobody". Only the exit code
// of check comes back.
int runAsOrdinaryUser(const QString &folder, const std::function<bool()> &check)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0) {
            const passwd *nobody = ::getpwnam("nobody");
            const uid_t uid = nobody ? nobody->pw_uid : 65534;
            const gid_t gid = nobody ? nobody->pw_gid : 65534;
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                ::_exit(kCannotDropRoot);
        }
        // A temporary folder below a private one is out of the ordinary user's reach.
        if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
            ::_exit(kCannotDropRoot);
        ::_exit(check() ? kChildPassed : kChildFailed);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return kChildFailed;
    return WEXITSTATUS(status);
}

// Whether folder is the mount of a system file system that takes no new files,
// rather than the empty folder that stands there where it is not mounted.
bool isMountOf(const QString &folder, long magic)
{
    struct statfs info
    {
    };
    return ::statfs(QFile::encodeName(folder).constData(), &info) == 0 && info.f_type == magic;
}

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
        QVERIFY2(
            outcome->text.contains(QDir::toNativeSeparators(directory + QLatin1Char('/') + name)),
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
        verifySaveRefused(
            folder, QStringLiteral("new.map"), QStringLiteral("There is no such folder."));
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
        verifySaveRefused(
            m_dir.path(), QStringLiteral("pipe.map"), QStringLiteral("not a map file"));
        struct stat status
        {
        };
        QCOMPARE(::stat(pipe.constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
    }

    // Folders of the system that take no new file, whoever asks.
    void folderTakesNoNewFiles_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<long>("magic");
        QTest::addColumn<QString>("reason");
        QTest::newRow("/proc") << QStringLiteral("/proc") << long(PROC_SUPER_MAGIC)
                               << QStringLiteral("does not take new files");
        QTest::newRow("/sys") << QStringLiteral("/sys") << long(SYSFS_MAGIC) << QString();
    }

    void folderTakesNoNewFiles()
    {
        QFETCH(QString, folder);
        QFETCH(long, magic);
        QFETCH(QString, reason);
        if (!isMountOf(folder, magic))
            QSKIP("the system's file system is not mounted there, so the folder takes new files");
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
        QVERIFY2(
            outcome->text.contains(QDir::toNativeSeparators(oldFile())), qPrintable(outcome->text));
        QVERIFY2(outcome->text.contains(QStringLiteral("large")), qPrintable(outcome->text));
        verifyNothingChanged(filesBefore);

        // And once there is room again, the same save goes through.
        QVERIFY(!SaveMap(m_document, m_title));
        QCOMPARE(snapshot(m_dir.path()).value(QStringLiteral("old.map")),
            mapfile::encode(m_document.MapCells));
    }

    // A map made read-only is kept, whether it is chosen in Save As or is the
    // current file of a plain Save; its bytes, mode and owner stay, and the
    // title and the current file too.
    void readOnlyMapIsNeverReplaced_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Save As over it") << QStringLiteral("keep.map");
        QTest::newRow("Save to it") << QStringLiteral("old.map");
    }
    void readOnlyMapIsNeverReplaced()
    {
        QFETCH(QString, name);
        const QString path = m_dir.filePath(name);
        if (!QFileInfo::exists(path))
            QVERIFY(QFile::copy(oldFile(), path));
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        // The ordinary user may write the folder: the rename alone would succeed.
        QVERIFY(QFile::setPermissions(m_dir.path(),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                | QFile::WriteOther | QFile::ExeOther));
        struct stat before
        {
        };
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);
        const auto filesBefore = snapshot(m_dir.path());

        const int result = runAsOrdinaryUser(m_dir.path(), [&] {
            const StorageOutcome outcome = name == QLatin1String("old.map")
                ? SaveMap(m_document, m_title)
                : SaveMapAs(m_document, m_title, m_dir.path(), name);
            return outcome && outcome->title == QLatin1String("Error: Map not saved")
                && outcome->text.contains(QDir::toNativeSeparators(path))
                && outcome->text.contains(QLatin1String("read-only"))
                && m_document.MapFileName == QLatin1String("old.map")
                && m_title.titles == QStringList {titles::forFile(QStringLiteral("old.map"))};
        });
        if (result == kCannotDropRoot)
            QSKIP("no ordinary user can reach the temporary folder here");
        QCOMPARE(result, int(kChildPassed));
        QCOMPARE(snapshot(m_dir.path()), filesBefore);
        struct stat after
        {
        };
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_ino, before.st_ino);
    }

    // What a successful save keeps: links, permissions, and no stray files.
    void replacingKeepsLinksAndPermissions()
    {
        QVERIFY(QFile::link(oldFile(), m_dir.filePath(QStringLiteral("link.map"))));
        QVERIFY(QFile::setPermissions(
            oldFile(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(!SaveMapAs(m_document, m_title, m_dir.path(), QStringLiteral("link.map")));

        QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("link.map"))).isSymLink());
        const auto files = snapshot(m_dir.path());
        QCOMPARE(
            files.keys(), (QStringList {QStringLiteral("link.map"), QStringLiteral("old.map")}));
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
        struct stat status
        {
        };
        QCOMPARE(::stat(QFile::encodeName(m_dir.filePath(QStringLiteral("new.map"))).constData(),
                     &status),
            0);
        QCOMPARE(status.st_mode & 0777, mode_t(0644));
    }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "test_save_faults.moc"
