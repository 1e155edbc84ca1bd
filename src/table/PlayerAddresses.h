#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

namespace vellumor::table {

// One network interface as the address choice sees it.
struct NetworkInterface
{
    QString name; // "wlan0", "docker0", "tun0"
    bool virtualKind = false; // reported as a virtual or point-to-point link
    bool defaultRoute = false; // carries the machine's default route
    QList<QHostAddress> addresses;
};

// An address to print for the players; `note` says why a phone may not reach
// it, and is empty for the addresses of the room's own network.
struct PlayerAddress
{
    QHostAddress address;
    QString note;
    bool operator==(const PlayerAddress &) const = default;
};

// The players' addresses, the one to print first and put in the QR code
// leading: the addresses of the interface with the default route, then those
// of other plain interfaces (IPv4 before IPv6 in each), then the container
// bridges and tunnels, marked. Loopback and link-local addresses are left
// out; when nothing else is left, the loopback address stands alone.
QList<PlayerAddress> orderPlayerAddresses(const QList<NetworkInterface> &interfaces);

// This machine's interfaces that are up, with the default route read from
// /proc/net/route and /proc/net/ipv6_route.
QList<NetworkInterface> systemInterfaces();

// The names of the interfaces that carry a default route, from the text of
// /proc/net/route (IPv4) or /proc/net/ipv6_route (IPv6).
QStringList defaultRouteInterfaces(const QByteArray &ipv4Routes, const QByteArray &ipv6Routes);

} // namespace vellumor::table
