#include "table/PlayerAddresses.h"

#include <QFile>
#include <QNetworkInterface>

#include <algorithm>

namespace vellumor::table {

namespace {

// Interfaces that no phone at the table reaches: the bridges of containers
// and virtual machines, and VPN tunnels.
QString unreachableKind(const NetworkInterface &interface)
{
    static const char *const bridges[] = {"docker", "br-", "veth", "virbr", "podman", "cni"};
    static const char *const tunnels[] = {"tun", "tap", "wg"};
    for (const char *prefix : bridges) {
        if (interface.name.startsWith(QLatin1String(prefix)))
            return QStringLiteral("container bridge");
    }
    for (const char *prefix : tunnels) {
        if (interface.name.startsWith(QLatin1String(prefix)))
            return QStringLiteral("tunnel");
    }
    return interface.virtualKind ? QStringLiteral("virtual link") : QString();
}

bool usable(const QHostAddress &address)
{
    return !address.isLoopback() && !address.isLinkLocal() && !address.isNull();
}

QByteArray readProcFile(const char *path)
{
    QFile file(QString::fromLatin1(path));
    // A few hundred routes at most; more is not a table's laptop.
    return file.open(QIODevice::ReadOnly) ? file.read(256 * 1024) : QByteArray();
}

} // namespace

QList<PlayerAddress> orderPlayerAddresses(const QList<NetworkInterface> &interfaces)
{
    // Rank: 0 the default route's interface, 1 another plain one, 2 marked.
    struct Ranked
    {
        int rank;
        bool ipv6;
        int order;
        PlayerAddress address;
    };
    std::vector<Ranked> ranked;
    for (const NetworkInterface &interface : interfaces) {
        const QString kind = unreachableKind(interface);
        const int rank = !kind.isEmpty() ? 2 : interface.defaultRoute ? 0 : 1;
        for (const QHostAddress &address : interface.addresses) {
            if (!usable(address))
                continue;
            QHostAddress plain = address;
            plain.setScopeId({});
            ranked.push_back(
                {rank, plain.protocol() == QAbstractSocket::IPv6Protocol, int(ranked.size()),
                    {plain, kind.isEmpty() ? QString() : kind + u' ' + interface.name}});
        }
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked &a, const Ranked &b) {
        return std::tie(a.rank, a.ipv6, a.order) < std::tie(b.rank, b.ipv6, b.order);
    });
    QList<PlayerAddress> ordered;
    for (const Ranked &each : ranked) {
        if (!std::any_of(ordered.begin(), ordered.end(),
                [&](const PlayerAddress &seen) { return seen.address == each.address.address; }))
            ordered << each.address;
    }
    if (ordered.isEmpty())
        ordered << PlayerAddress {QHostAddress(QHostAddress::LocalHost), {}};
    return ordered;
}

QStringList defaultRouteInterfaces(const QByteArray &ipv4Routes, const QByteArray &ipv6Routes)
{
    QStringList names;
    // "Iface Destination Gateway Flags ...": a destination of 00000000 with
    // mask 00000000 is the default route.
    const auto ipv4Lines = ipv4Routes.split('\n');
    for (qsizetype i = 1; i < ipv4Lines.size(); ++i) {
        const auto fields = ipv4Lines[i].simplified().split(' ');
        if (fields.size() > 7 && fields[1] == "00000000" && fields[7] == "00000000")
            names << QString::fromLatin1(fields[0]);
    }
    // "DEST PREFIXLEN SRC SRCLEN NEXTHOP METRIC REFS USE FLAGS IFACE": the
    // default route is ::/0 through a gateway (not the unreachable route on lo).
    for (const QByteArray &line : ipv6Routes.split('\n')) {
        const auto fields = line.simplified().split(' ');
        if (fields.size() > 9 && fields[0] == QByteArray(32, '0') && fields[1] == "00"
            && fields[4] != QByteArray(32, '0') && fields[9] != "lo")
            names << QString::fromLatin1(fields[9]);
    }
    names.removeDuplicates();
    return names;
}

QList<NetworkInterface> systemInterfaces()
{
    const QStringList routed = defaultRouteInterfaces(
        readProcFile("/proc/net/route"), readProcFile("/proc/net/ipv6_route"));
    QList<NetworkInterface> found;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        if (!interface.flags().testFlag(QNetworkInterface::IsUp)
            || interface.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        NetworkInterface each;
        each.name = interface.name();
        each.virtualKind = interface.type() == QNetworkInterface::Virtual
            || interface.type() == QNetworkInterface::Ppp;
        each.defaultRoute = routed.contains(each.name);
        for (const QNetworkAddressEntry &entry : interface.addressEntries())
            each.addresses << entry.ip();
        found << each;
    }
    return found;
}

} // namespace vellumor::table
