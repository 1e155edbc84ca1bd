#pragma once

#include <chrono>

namespace vellumor::table {

// How many connections the table takes, and from whom. Anyone on the room's
// network may connect, and a player needs no secret, so the GM's way in is
// kept apart from what players can fill.

// Open connections that pages, players and GMs share: page requests in
// flight and WebSockets that are not a GM's.
inline constexpr int kSharedConnections = 64;
// Beyond those, connections that only a GM can keep: a WebSocket arriving
// when the shared ones are taken, or from an address that already holds
// kPlayersPerAddress, must say a GM's hello with the right secret within
// kGmRoomDeadline, and is closed when it says anything else or nothing.
inline constexpr int kGmRoom = 8;
inline constexpr std::chrono::milliseconds kGmRoomDeadline {2000};
// Players (and WebSockets that have not said hello) from one address, so
// that one device cannot take every player's place; but for 127.0.0.1 and
// ::1, this machine itself, whose user runs the table.
inline constexpr int kPlayersPerAddress = 8;

} // namespace vellumor::table
