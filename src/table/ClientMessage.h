#pragma once

#include "rules/MapRegions.h"
#include "table/TableState.h"

#include <QByteArray>
#include <QString>

#include <variant>
#include <vector>

namespace vellumor::table {

// One message from a page, read from bytes that anyone on the network may
// have sent: every field is checked against its bounds before it is used.

struct Hello
{
    bool gm = false;
    QString secret;
};
struct Ack
{
    qint64 view = 0;
    qint64 rev = 0;
};
struct Resync
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
struct RevealRegion
{
    int map = 0;
    int cell = 0;
    rules::RegionKind kind = rules::RegionKind::Picture;
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
    SetFrame, SetGrid, ShowMap, Undo, Redo>;
using ClientMessage = std::variant<Hello, Ack, Resync, GmCommand>;

struct MessageError
{
    QString text;
};

// A message of at most kMaxMessageSize bytes; anything that is not one of the
// messages above, with each field of its type and within the map, is an error.
std::variant<ClientMessage, MessageError> parseClientMessage(const QByteArray &bytes);

inline constexpr int kMaxMessageSize = 16 * 1024;

} // namespace vellumor::table
