// How players and the GM get to the table: the addresses printed and which
// comes first, the QR code of it, and the GM's secret kept across restarts.
#include "TableFixture.h"

#include "table/PlayerAddresses.h"
#include "table/QrCode.h"
#include "table/ScreenNames.h"
#include "table/SecretFile.h"

#include <QFile>
#include <QImage>

using namespace vellumor;
using namespace vellumor::table;
using namespace vellumor::testing;

namespace {

NetworkInterface interface(const char *name, std::initializer_list<const char *> addresses,
    bool defaultRoute = false, bool virtualKind = false)
{
    NetworkInterface each {QString::fromLatin1(name), virtualKind, defaultRoute, {}};
    for (const char *address : addresses)
        each.addresses << QHostAddress(QString::fromLatin1(address));
    return each;
}

QStringList texts(const QList<PlayerAddress> &addresses)
{
    QStringList out;
    for (const PlayerAddress &each : addresses)
        out << each.address.toString() + (each.note.isEmpty() ? QString() : u' ' + each.note);
    return out;
}

} // namespace

class TestTableJoin : public QObject
{
    Q_OBJECT

private slots:
    void theRoomsNetworkComesFirst()
    {
        // A laptop with Docker and a VPN, listed as the system lists them.
        const QList<NetworkInterface> laptop {
            interface("docker0", {"172.17.0.1"}),
            interface("tun0", {"10.8.0.2"}, true),
            interface("wlan0", {"fe80::1", "192.168.1.20", "2001:db8::20"}, true),
            interface("br-3f2a", {"172.18.0.1"}),
            interface("veth12", {"169.254.3.4"}),
            interface("ppp0", {"10.64.0.9"}, false, true),
        };
        QCOMPARE(texts(orderPlayerAddresses(laptop)),
            QStringList({"192.168.1.20", "2001:db8::20", "172.17.0.1 container bridge docker0",
                "10.8.0.2 tunnel tun0", "172.18.0.1 container bridge br-3f2a",
                "10.64.0.9 virtual link ppp0"}));

        // No default route (a room's own access point): plain interfaces in
        // the system's order, IPv4 first.
        QCOMPARE(texts(orderPlayerAddresses({interface("eth0", {"fd00::5", "10.0.0.5"}),
                     interface("wlan0", {"192.168.4.1"})})),
            QStringList({"10.0.0.5", "192.168.4.1", "fd00::5"}));

        // Nothing reachable at all: the loopback, so that something is printed.
        QCOMPARE(texts(orderPlayerAddresses({interface("eth0", {"fe80::2"})})),
            QStringList({"127.0.0.1"}));
    }

    void readsTheDefaultRouteFromTheKernelsTables()
    {
        const QByteArray ipv4 = "Iface\tDestination\tGateway "
                                "\tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
                                "wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
                                "wlan0\t0001A8C0\t00000000\t0001\t0\t0\t600\t00FFFFFF\t0\t0\t0\n"
                                "docker0\t000011AC\t00000000\t0001\t0\t0\t0\t0000FFFF\t0\t0\t0\n"
                                "tun0\t00000000\t00000000\t0001\t0\t0\t0\t00000080\t0\t0\t0\n";
        const QByteArray ipv6
            = "00000000000000000000000000000000 00 00000000000000000000000000000000 "
              "00 fe800000000000000000000000000001 00000064 00000001 00000000 "
              "00000003 eth1\n"
              "00000000000000000000000000000000 00 00000000000000000000000000000000 "
              "00 00000000000000000000000000000000 ffffffff 00000001 00000000 "
              "00200200 lo\n";
        QCOMPARE(defaultRouteInterfaces(ipv4, ipv6), QStringList({"wlan0", "eth1"}));
        QCOMPARE(defaultRouteInterfaces("garbage\n\n\t\t\n", "x"), QStringList());
    }

    void theQrCodeIsAPictureOfTheAddress()
    {
        const QString address = QStringLiteral("http://192.168.1.20:8135/");
        const auto modules = qrModules(address);
        QVERIFY(modules.has_value());
        const QImage picture = QImage::fromData(qrPng(address, 4), "PNG");
        QCOMPARE(picture.width(), (modules->width + 8) * 4);
        // The finder pattern's dark corner after the light quiet zone.
        QCOMPARE(qGray(picture.pixel(0, 0)), 255);
        QCOMPARE(qGray(picture.pixel(17, 17)), 0);
        QVERIFY(qrPng(QString(8000, u'x')).isEmpty());
    }

    void theSecretIsKeptPrivatelyForEachSetOfMaps()
    {
        QTemporaryDir state, maps;
        qputenv("XDG_STATE_HOME", state.path().toUtf8());
        const QString town = maps.filePath(QStringLiteral("town.map"));
        const QString castle = maps.filePath(QStringLiteral("castle.map"));
        const auto first = keptTableSecret({town, castle}, false);
        QVERIFY(std::holds_alternative<QByteArray>(first));
        const QByteArray secret = std::get<QByteArray>(first);
        QCOMPARE(secret.size(), 22);
        // The same maps in another order are the same table.
        QCOMPARE(std::get<QByteArray>(keptTableSecret({castle, town}, false)), secret);
        QVERIFY(std::get<QByteArray>(keptTableSecret({town}, false)) != secret);

        const QString path = secretFilePath({town, castle});
        QVERIFY(path.startsWith(state.path() + QStringLiteral("/vellumor/")));
        QVERIFY(!path.contains(QStringLiteral("town")));
        QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser),
            QFile::ReadOwner | QFile::WriteOwner);

        const QByteArray renewed = std::get<QByteArray>(keptTableSecret({town, castle}, true));
        QVERIFY(renewed != secret);
        QCOMPARE(std::get<QByteArray>(keptTableSecret({town, castle}, false)), renewed);

        // A file others may read, or one that holds no secret, is not trusted.
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        const QByteArray replaced = std::get<QByteArray>(keptTableSecret({town, castle}, false));
        QVERIFY(replaced != renewed);
        QCOMPARE(QFile::permissions(path) & QFile::ReadOther, QFileDevice::Permissions());
        QVERIFY(writeFile(path, "not a secret\n"));
        QCOMPARE(std::get<QByteArray>(keptTableSecret({town, castle}, false)).size(), 22);

        // A state folder that cannot be made is said, not skipped.
        qputenv("XDG_STATE_HOME", (path + QStringLiteral("/below")).toUtf8());
        QVERIFY(std::holds_alternative<QString>(keptTableSecret({town}, false)));
        qunsetenv("XDG_STATE_HOME");
    }

    void pagesAreToldTheTableAndShownTheInvitation()
    {
        TableFixture table({MapCodes {}});
        table.server->setJoinAddress(QStringLiteral("http://192.168.1.20:8135/"));
        auto player = table.join(QStringLiteral("player"));
        const QJsonObject facts
            = player->waitFor(QStringLiteral("state")).value(QStringLiteral("table")).toObject();
        QCOMPARE(facts.value(QStringLiteral("columns")).toInt(), kMapColumns);
        QCOMPARE(facts.value(QStringLiteral("rows")).toInt(), kMapRows);
        QCOMPARE(facts.value(QStringLiteral("symbols")).toInt(), kHighestSymbolCode + 1);
        QCOMPARE(facts.value(QStringLiteral("join")).toString(),
            QStringLiteral("http://192.168.1.20:8135/"));
        auto gm = table.join(QStringLiteral("gm"));
        QCOMPARE(gm->waitFor(QStringLiteral("gm-state")).value(QStringLiteral("table")).toObject(),
            facts);
    }

    void theGmSeesEachScreenAndNamesIt()
    {
        TableFixture table({MapCodes {}});
        std::vector<TableServer::ScreenNames> saved;
        table.server->setScreenNames({}, [&](const TableServer::ScreenNames &names) {
            saved.push_back(names);
            return std::optional<QString>();
        });
        auto gm = table.join(QStringLiteral("gm"));
        const QJsonObject phone {
            {"id", "phone-0123456789"}, {"kind", "phone"}, {"width", 390}, {"height", 844}};
        const auto joinWith = [&](const QJsonObject &screen) {
            auto player = std::make_unique<TableClient>(table.server->port());
            player->waitOpen();
            player->send(message("hello", {{"role", "player"}, {"screen", screen}}));
            return player;
        };
        auto player = joinWith(phone);
        QVERIFY(!player->waitFor(QStringLiteral("state")).isEmpty());
        const auto lastPlayer = [&] {
            const QJsonArray list
                = gm->waitFor(QStringLiteral("players")).value(QStringLiteral("players")).toArray();
            return list.isEmpty() ? QJsonObject() : list.last().toObject();
        };
        QTRY_COMPARE(lastPlayer().value(QStringLiteral("screen")).toObject(),
            QJsonObject({{"kind", "phone"}, {"width", 390}, {"height", 844}}));
        const int id = lastPlayer().value(QStringLiteral("id")).toInt();

        // Line breaks and a bidirectional override are taken out; the name is
        // kept by the screen's own id and shown on its next connection too.
        gm->send(message(
            "name-screen", {{"player", id}, {"name", QStringLiteral("  Anna's\n phone\u202e  ")}}));
        QTRY_COMPARE(
            lastPlayer().value(QStringLiteral("name")).toString(), QStringLiteral("Anna's phone"));
        QCOMPARE(saved.back(), TableServer::ScreenNames({{"phone-0123456789", "Anna's phone"}}));
        player.reset();
        auto again = joinWith(phone);
        QVERIFY(!again->waitFor(QStringLiteral("state")).isEmpty());
        QTRY_VERIFY(lastPlayer().value(QStringLiteral("id")).toInt() != id);
        QCOMPARE(
            lastPlayer().value(QStringLiteral("name")).toString(), QStringLiteral("Anna's phone"));
        // A player's message never carries a name.
        for (const QByteArray &raw : again->raw)
            QVERIFY(!raw.contains("Anna"));

        // Only the GM names screens; a screen that is not one is refused.
        again->send(message("name-screen", {{"player", id}, {"name", "mine"}}));
        QVERIFY(again->waitClosed());
        QCOMPARE(again->closeCode, int(kClosePlayerCommand));
        QJsonObject lying = phone;
        lying.insert(QStringLiteral("id"), QStringLiteral("<script>"));
        auto liar = joinWith(lying);
        QVERIFY(liar->waitClosed());
        QCOMPARE(liar->closeCode, int(kCloseMalformed));
        gm->send(message("name-screen", {{"player", 999}, {"name", "nobody"}}));
        QCOMPARE(gm->waitFor(QStringLiteral("notice")).value(QStringLiteral("level")).toString(),
            QStringLiteral("error"));
        QCOMPARE(saved.size(), std::size_t(1));
    }

    void screenNamesAreKeptPrivately()
    {
        QTemporaryDir state;
        const QString path = state.filePath(QStringLiteral("vellumor/table-x.screens"));
        QCOMPARE(readScreenNames(path), ScreenNameMap());
        const ScreenNameMap names {
            {"tv-0123456789", "The TV"}, {"phone-0123456789", "Anna's phone"}};
        QVERIFY(!writeScreenNames(path, names));
        QCOMPARE(readScreenNames(path), names);
        QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther),
            QFileDevice::Permissions());
        // Edited by hand: what is not a screen's id or name is left out.
        QVERIFY(writeFile(
            path, R"({"tv-0123456789":"The\u0007 TV","bad id":"x","phone-0123456789":7})"));
        QCOMPARE(readScreenNames(path), ScreenNameMap({{"tv-0123456789", "The TV"}}));
        QVERIFY(writeFile(path, "not json"));
        QCOMPARE(readScreenNames(path), ScreenNameMap());
    }
};

QTEST_GUILESS_MAIN(TestTableJoin)
#include "test_table_join.moc"
