#include "table/ClientMessage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <limits>
#include <optional>

namespace vellumor::table {

namespace {

// The most maps one table serves, so that a map index is small.
constexpr int kMaxMaps = 1000;
// 2^53: every whole number a JSON number holds exactly.
constexpr qint64 kMaxCount = qint64(1) << 53;

struct Reader
{
    const QJsonObject &object;
    bool ok = true;

    QJsonValue field(const char *key) { return object.value(QLatin1String(key)); }
    bool flag(const char *key, std::optional<bool> fallback = std::nullopt)
    {
        const QJsonValue value = field(key);
        if (value.isUndefined() && fallback)
            return *fallback;
        ok = ok && value.isBool();
        return value.toBool();
    }
    qint64 number(const char *key, qint64 low, qint64 high)
    {
        const auto value = jsonWholeNumber(field(key), low, high);
        ok = ok && value.has_value();
        return value.value_or(0);
    }
    // A map or a cell named by a whole number: one out of range is read as -1
    // or count, for the table to refuse with a notice rather than close the
    // GM's connection.
    int index(const QJsonValue &value, int count)
    {
        const auto number = jsonWholeNumber(value, -kMaxCount, kMaxCount);
        ok = ok && number.has_value();
        return int(std::clamp<qint64>(number.value_or(0), -1, count));
    }
    int map() { return index(field("map"), kMaxMaps); }
};

std::optional<Region> regionKind(const QString &name)
{
    if (name == QLatin1String("picture"))
        return Region::Picture;
    if (name == QLatin1String("walk"))
        return Region::Walk;
    if (name == QLatin1String("run"))
        return Region::Run;
    if (name == QLatin1String("sight"))
        return Region::Sight;
    return std::nullopt;
}

std::optional<GmCommand> gmCommand(const QString &type, Reader &in)
{
    if (type == QLatin1String("set")) {
        SetCells command;
        command.map = in.map();
        const QJsonValue cells = in.field("cells");
        in.ok = in.ok && cells.isArray();
        for (const QJsonValue &cell : cells.toArray())
            command.cells.push_back(in.index(cell, kCellCount));
        command.revealed = in.flag("revealed");
        command.prepare = in.flag("prepare", false);
        return command;
    }
    if (type == QLatin1String("region")) {
        RevealRegion command;
        command.map = in.map();
        command.cell = in.index(in.field("cell"), kCellCount);
        const auto kind = regionKind(in.field("kind").toString());
        in.ok = in.ok && kind.has_value();
        command.kind = kind.value_or(Region::Picture);
        command.revealed = in.flag("revealed");
        command.prepare = in.flag("prepare", false);
        return command;
    }
    if (type == QLatin1String("show-prepared"))
        return ShowPrepared {in.map()};
    if (type == QLatin1String("clear-prepared"))
        return ClearPrepared {in.map()};
    if (type == QLatin1String("all")) {
        const int map = in.map();
        return SetAll {map, in.flag("revealed")};
    }
    if (type == QLatin1String("frame")) {
        const int map = in.map();
        const auto frame = parseFrame(in.field("frame"));
        in.ok = in.ok && frame.has_value();
        return SetFrame {map, frame.value_or(PlayerFrame {})};
    }
    if (type == QLatin1String("grid")) {
        const int map = in.map();
        return SetGrid {map, in.flag("grid")};
    }
    if (type == QLatin1String("party")) {
        const int map = in.map();
        const auto party = parseParty(in.field("markers"));
        in.ok = in.ok && party.has_value();
        return SetParty {map, party.value_or(kNoParty)};
    }
    if (type == QLatin1String("follow")) {
        const int map = in.map();
        const bool follow = in.flag("follow");
        const auto range = parseRange(in.field("range"));
        in.ok = in.ok && range.has_value();
        return SetFollow {map, follow, range.value_or(SightRange {})};
    }
    if (type == QLatin1String("show-map"))
        return ShowMap {in.map()};
    if (type == QLatin1String("undo"))
        return Undo {};
    if (type == QLatin1String("redo"))
        return Redo {};
    return std::nullopt;
}

// A player's screen: absent, or an object with every field within bounds.
std::optional<Screen> screen(Reader &in)
{
    const QJsonValue value = in.field("screen");
    if (value.isUndefined())
        return std::nullopt;
    in.ok = in.ok && value.isObject();
    const QJsonObject object = value.toObject();
    Reader fields {object};
    Screen screen;
    screen.id = fields.field("id").toString();
    screen.kind = fields.field("kind").toString();
    screen.width = int(fields.number("width", 1, 100000));
    screen.height = int(fields.number("height", 1, 100000));
    static const QStringList kinds {QStringLiteral("tv"), QStringLiteral("phone"),
        QStringLiteral("tablet"), QStringLiteral("computer")};
    in.ok = in.ok && fields.ok && isScreenId(screen.id) && kinds.contains(screen.kind)
        && object.size() == 4;
    return screen;
}

std::optional<ClientMessage> message(const QString &type, Reader &in)
{
    if (type == QLatin1String("hello")) {
        const QString role = in.field("role").toString();
        in.ok = in.ok && (role == QLatin1String("gm") || role == QLatin1String("player"));
        Hello hello {role == QLatin1String("gm"), in.field("secret").toString(), screen(in)};
        in.ok = in.ok && !(hello.gm && hello.screen);
        return hello;
    }
    if (type == QLatin1String("name-screen")) {
        const int player = int(in.number("player", 1, std::numeric_limits<int>::max()));
        const QJsonValue name = in.field("name");
        // Longer than any name, even before it is cleaned, is no name.
        in.ok = in.ok && name.isString() && name.toString().size() <= 4 * kMaxScreenNameLength;
        return NameScreen {player, cleanScreenName(name.toString())};
    }
    if (type == QLatin1String("ack")) {
        const qint64 view = in.number("view", 0, kMaxCount);
        return Ack {view, in.number("rev", 0, kMaxCount)};
    }
    if (type == QLatin1String("resync"))
        return Resync {};
    if (type == QLatin1String("end"))
        return End {};
    if (type == QLatin1String("point")) {
        const int map = in.map();
        return Point {map, in.index(in.field("cell"), kCellCount)};
    }
    if (auto command = gmCommand(type, in))
        return ClientMessage {std::move(*command)};
    return std::nullopt;
}

} // namespace

bool isScreenId(const QString &id)
{
    return id.size() >= 8 && id.size() <= 64 && std::all_of(id.begin(), id.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')
            || c == u'-' || c == u'_';
    });
}

QString cleanScreenName(const QString &name)
{
    QString clean;
    for (const QChar c : name) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            continue;
        clean += c.isSpace() ? QChar(u' ') : c;
    }
    clean = clean.simplified().left(kMaxScreenNameLength);
    // A surrogate pair cut in two is no character.
    if (!clean.isEmpty() && clean.back().isHighSurrogate())
        clean.chop(1);
    return clean.trimmed();
}

std::variant<ClientMessage, MessageError> parseClientMessage(const QByteArray &bytes)
{
    if (bytes.size() > kMaxMessageSize)
        return MessageError {QStringLiteral("message too large")};
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return MessageError {QStringLiteral("not a JSON object")};
    const QJsonObject object = document.object();
    const QString type = object.value(QStringLiteral("type")).toString();
    Reader in {object};
    auto parsed = message(type, in);
    if (!parsed)
        return MessageError {QStringLiteral("unknown message type '%1'").arg(type.left(40))};
    if (!in.ok)
        return MessageError {QStringLiteral("a field of '%1' is missing or wrong").arg(type)};
    return std::move(*parsed);
}

} // namespace vellumor::table
