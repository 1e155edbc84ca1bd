#include "table/SecretFile.h"

#include "table/TableSecret.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace vellumor::table {

namespace {

QString stateFolder()
{
    const QString configured = qEnvironmentVariable("XDG_STATE_HOME");
    // As the XDG base directories have it, a relative path is ignored.
    const QString base = !configured.isEmpty() && QDir::isAbsolutePath(configured)
        ? configured
        : QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/vellumor");
}

bool looksLikeSecret(const QByteArray &text)
{
    return text.size() == newTableSecret().size()
        && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                   || c == '-' || c == '_';
           });
}

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

QString secretFilePath(const QStringList &mapPaths)
{
    return keptTableFilePath(mapPaths, QStringLiteral(".secret"));
}

QString keptTableFilePath(const QStringList &mapPaths, const QString &suffix)
{
    QStringList canonical;
    for (const QString &path : mapPaths) {
        const QFileInfo info(path);
        canonical << (info.canonicalFilePath().isEmpty() ? info.absoluteFilePath()
                                                         : info.canonicalFilePath());
    }
    canonical.sort();
    canonical.removeDuplicates();
    const QByteArray hash
        = QCryptographicHash::hash(canonical.join(QChar(0)).toUtf8(), QCryptographicHash::Sha256);
    return stateFolder() + QStringLiteral("/table-") + QString::fromLatin1(hash.toHex().left(32))
        + suffix;
}

std::variant<QByteArray, QString> keptTableSecret(const QStringList &mapPaths, bool renew)
{
    const QString path = secretFilePath(mapPaths);
    if (!renew) {
        QFile file(path);
        const bool private_
            = (file.permissions() & ~(kOwnerOnly | QFileDevice::ReadUser | QFileDevice::WriteUser))
            == 0;
        if (private_ && file.open(QIODevice::ReadOnly)) {
            const QByteArray kept = file.read(64).trimmed();
            if (looksLikeSecret(kept))
                return kept;
        }
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return folder + QStringLiteral(": cannot make the folder");
    QFile::setPermissions(
        folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray secret = newTableSecret();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(kOwnerOnly)
        || file.write(secret + '\n') < 0 || !file.commit())
        return path + QStringLiteral(": ") + file.errorString();
    return secret;
}

} // namespace vellumor::table
