#include "table/ScreenNames.h"

#include "table/ClientMessage.h"
#include "table/SecretFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace vellumor::table {

namespace {

// 200 names of 40 characters with their ids fit many times over.
constexpr qint64 kMaxFileSize = 256 * 1024;

} // namespace

QString screenNamesPath(const QStringList &mapPaths)
{
    return keptTableFilePath(mapPaths, QStringLiteral(".screens"));
}

ScreenNameMap readScreenNames(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonObject object = QJsonDocument::fromJson(file.read(kMaxFileSize)).object();
    ScreenNameMap names;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString name = cleanScreenName(it.value().toString());
        if (isScreenId(it.key()) && !name.isEmpty())
            names[it.key()] = name;
    }
    return names;
}

std::optional<QString> writeScreenNames(const QString &path, const ScreenNameMap &names)
{
    QJsonObject object;
    for (const auto &[id, name] : names)
        object.insert(id, name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QFileInfo(path).absolutePath() + QStringLiteral(": cannot make the folder");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(QJsonDocument(object).toJson()) < 0 || !file.commit())
        return path + QStringLiteral(": ") + file.errorString();
    return std::nullopt;
}

} // namespace vellumor::table
