#include "table/TableFile.h"

#include "document/FileReplacing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>

#include <algorithm>

namespace vellumor::table {

namespace {

const QString kFormat = QStringLiteral("vellumor-table");
constexpr int kVersion = 1;
// A state file is under 2 KiB; anything far larger is not one.
constexpr qint64 kMaxTableFileSize = 64 * 1024;

QString mapName(const QString &mapPath)
{
    return QFileInfo(mapPath).fileName();
}

} // namespace

QString tableFilePath(const QString &mapPath)
{
    return mapPath + QStringLiteral(".table");
}

QByteArray tableFileBytes(const QString &name, const MapState &state)
{
    const QJsonObject object {{QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), kVersion}, {QStringLiteral("map"), name},
        {QStringLiteral("columns"), kMapColumns}, {QStringLiteral("rows"), kMapRows},
        {QStringLiteral("rev"), state.rev},
        {QStringLiteral("revealed"), cellSetText(state.revealed)},
        {QStringLiteral("prepared"), cellSetText(state.prepared)},
        {QStringLiteral("frame"), frameJson(state.frame)}, {QStringLiteral("grid"), state.grid},
        {QStringLiteral("party"), partyJson(state.party)}, {QStringLiteral("follow"), state.follow},
        {QStringLiteral("range"), rangeJson(state.range)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::variant<MapState, QString> parseTableFile(const QByteArray &bytes, const QString &name)
{
    const QString notOne = QStringLiteral("not a table state file");
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return notOne;
    const QJsonObject object = document.object();
    if (object.value(QStringLiteral("format")).toString() != kFormat)
        return notOne;
    if (object.value(QStringLiteral("version")) != QJsonValue(kVersion))
        return QStringLiteral("a table state file of another version");
    if (object.value(QStringLiteral("map")).toString() != name
        || object.value(QStringLiteral("columns")) != QJsonValue(kMapColumns)
        || object.value(QStringLiteral("rows")) != QJsonValue(kMapRows)) {
        return QStringLiteral("the state of another map (%1)")
            .arg(object.value(QStringLiteral("map")).toString());
    }
    MapState state;
    const auto rev = jsonWholeNumber(object.value(QStringLiteral("rev")), 0, qint64(1) << 52);
    const auto revealed = parseCellSet(object.value(QStringLiteral("revealed")));
    const auto prepared = parseCellSet(object.value(QStringLiteral("prepared")));
    const auto frame = parseFrame(object.value(QStringLiteral("frame")));
    const QJsonValue grid = object.value(QStringLiteral("grid"));
    if (!rev || !revealed || !prepared || !frame || !grid.isBool())
        return QStringLiteral("a damaged table state file");
    state.rev = *rev;
    state.revealed = *revealed;
    state.prepared = *prepared;
    state.frame = *frame;
    state.grid = grid.toBool();
    // The party came later than the rest: a file without it has none.
    const QJsonValue party = object.value(QStringLiteral("party"));
    const QJsonValue follow = object.value(QStringLiteral("follow"));
    const QJsonValue range = object.value(QStringLiteral("range"));
    const auto markers = party.isUndefined() ? std::optional<Party>(kNoParty) : parseParty(party);
    const auto sightRange = range.isUndefined() ? std::optional<SightRange>() : parseRange(range);
    const bool onTheMap = markers && std::all_of(markers->begin(), markers->end(), [](int cell) {
        return cell == kNoMarker || (cell >= 0 && cell < kCellCount);
    });
    if (!onTheMap || (!follow.isUndefined() && !follow.isBool())
        || (!range.isUndefined() && (!sightRange || (*sightRange && **sightRange == 0))))
        return QStringLiteral("a damaged table state file");
    state.party = *markers;
    state.follow = follow.toBool();
    state.range = sightRange.value_or(SightRange {});
    return state;
}

QString hiddenTableFilePath(const QString &mapPath)
{
    const QFileInfo map(mapPath);
    return map.absolutePath() + QStringLiteral("/.") + map.fileName()
        + QStringLiteral(".table-next");
}

namespace {

std::variant<MapState, QString> readStateAt(const QString &path, const QString &mapName)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return MapState {};
    if (!info.isFile())
        return QStringLiteral("not a table state file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray bytes = file.read(kMaxTableFileSize + 1);
    if (bytes.size() > kMaxTableFileSize)
        return QStringLiteral("not a table state file");
    return parseTableFile(bytes, mapName);
}

} // namespace

std::variant<MapState, QString> readTableFile(const QString &mapPath)
{
    const auto saved = readStateAt(tableFilePath(mapPath), mapName(mapPath));
    const QFileInfo hiddenFile(hiddenTableFilePath(mapPath));
    if (hiddenFile.isSymLink() || !hiddenFile.isFile())
        return saved;
    const auto hidden = readStateAt(hiddenFile.filePath(), mapName(mapPath));
    const auto *newer = std::get_if<MapState>(&hidden);
    const auto *state = std::get_if<MapState>(&saved);
    if (newer && newer->rev > 0 && (!state || newer->rev > state->rev))
        return *newer;
    return saved;
}

std::optional<QString> writeTableFile(const QString &mapPath, const MapState &state)
{
    return writeFileReplacing(tableFilePath(mapPath), tableFileBytes(mapName(mapPath), state));
}

std::optional<QString> checkTableFolder(const QString &mapPath)
{
    const QString folder = QFileInfo(mapPath).absolutePath();
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vellumor-table-XXXXXX")));
    if (!probe.open())
        return QStringLiteral("cannot write in %1: %2").arg(folder, probe.errorString());
    const QFileInfo existing(tableFilePath(mapPath));
    if (existing.exists() && !existing.isWritable())
        return QStringLiteral("cannot write %1").arg(existing.filePath());
    return std::nullopt;
}

} // namespace vellumor::table
