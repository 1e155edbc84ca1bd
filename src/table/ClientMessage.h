#pragma once

#include "table/TableState.h"

#include <QByteArray>
#include <QString>

#include <optional>

#include <variant>
#include <vector>

namespace vellumor::table {

// One message from a page, read from bytes that anyone on the network may
// have sent: every field is checked against its bounds before it is used.

// What a players' page says of its screen: an id it keeps in the browser, so
// that a name the GM gives it holds across reconnects, and its kind and size.
struct Screen
{
    QString id;
    QString kind; // "tv", "phone", "tablet" or "computer"
    int width = 0;
    int height = 0;
    bool operator==(const Screen &) const = default;
};
struct Hello
{
    bool gm = false;
    QString secret;
    std::optional<Screen> screen;
};
struct Ack
{
    qint64 view = 0;
    qint64 rev = 0;
};
struct Resync
{
};
// The GM names the screen of a player's connection; an empty name forgets it.
struct NameScreen
{
    int player = 0;
    QString name;
};

// The GM points at a cell of a map: its players see a ring there; nothing
// changes.
struct Point
{
    int map = 0;
    int cell = 0;
};

// The GM ends the table: every change is saved already, so the server stops.
struct End
{
};

// The GM's commands. Those that change a map name it by its index.
struct SetCells
{
    int map = 0;
    std::vector<int> cells; // reading order
    bool revealed = true;
    bool prepare = false;
};
// The regions of rules::RegionKind, and what is seen from the cell with the
// map's range.
enum class Region { Picture, Walk, Run, Sight };
struct RevealRegion
{
    int map = 0;
    int cell = 0;
    Region kind = Region::Picture;
    bool revealed = true;
    bool prepare = false;
};
struct ShowPrepared
{
    int map = 0;
};
struct ClearPrepared
{
    int map = 0;
};
struct SetAll
{
    int map = 0;
    bool revealed = true;
};
struct SetFrame
{
    int map = 0;
    PlayerFrame frame;
};
struct SetGrid
{
    int map = 0;
    bool grid = true;
};
// Places the party's markers, moving or taking away those already placed.
struct SetParty
{
    int map = 0;
    Party party = kNoParty;
};
struct SetFollow
{
    int map = 0;
    bool follow = false;
    SightRange range;
};
struct ShowMap
{
    int map = 0;
};
struct Undo
{
};
struct Redo
{
};

using GmCommand = std::variant<SetCells, RevealRegion, ShowPrepared, ClearPrepared, SetAll,
    SetFrame, SetGrid, SetParty, SetFollow, ShowMap, Undo, Redo>;
using ClientMessage = std::variant<Hello, Ack, Resync, NameScreen, Point, End, GmCommand>;

struct MessageError
{
    QString text;
};

// A message of at most kMaxMessageSize bytes; anything that is not one of the
// messages above, with each field of its type, is an error. A map or cell
// index out of range is read as -1 or the count (the table refuses it).
std::variant<ClientMessage, MessageError> parseClientMessage(const QByteArray &bytes);

inline constexpr int kMaxMessageSize = 16 * 1024;
inline constexpr int kMaxScreenNameLength = 40;

// A name as the GM typed it, made safe to keep and show: control and format
// characters (line breaks, bidirectional overrides) taken out, blanks
// trimmed, at most kMaxScreenNameLength characters.
QString cleanScreenName(const QString &name);
// 8 to 64 letters, digits, '-' and '_', as a page makes them.
bool isScreenId(const QString &id);

} // namespace vellumor::table
