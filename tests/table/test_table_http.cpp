#include "TableFixture.h"

#include "pictures/SymbolPictures.h"
#include "table/OwnHost.h"
#include "table/SymbolStrip.h"

#include <QImage>
#include <QTcpSocket>

using namespace vellumor;
using namespace vellumor::table;
using namespace vellumor::testing;

namespace {

// Sends bytes on a fresh connection and gives all that comes back before the
// server closes it.
QByteArray exchange(quint16 port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(request);
    QByteArray reply;
    for (int round = 0; round < 500 && socket.state() != QAbstractSocket::UnconnectedState;
         ++round) {
        QTest::qWait(5);
        reply += socket.readAll();
    }
    return reply + socket.readAll();
}

QByteArray get(quint16 port, const QByteArray &path, const QByteArray &headers = {})
{
    return exchange(port,
        "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) + "\r\n"
            + headers + "\r\n");
}

int status(const QByteArray &reply)
{
    return reply.mid(9, 3).toInt();
}

QByteArray body(const QByteArray &reply)
{
    return reply.mid(reply.indexOf("\r\n\r\n") + 4);
}

} // namespace

class TestTableHttp : public QObject
{
    Q_OBJECT

private slots:
    void answersWithTheRightStatus()
    {
        TableFixture table({MapCodes {}});
        const quint16 port = table.server->port();
        const QByteArray page = get(port, "/");
        QCOMPARE(status(page), 200);
        QVERIFY(page.contains("Content-Security-Policy: default-src 'none'; script-src 'self';"));
        QVERIFY(body(page).startsWith("<!DOCTYPE html>"));
        QCOMPARE(status(get(port, "/gm")), 200);
        QImage icon;
        QVERIFY(icon.loadFromData(body(get(port, "/favicon.ico")), "PNG"));
        QCOMPARE(icon.size(), QSize(32, 32));
        QCOMPARE(status(get(port, "/app/player.html")), 200);
        QCOMPARE(status(get(port, "/app/../CMakeLists.txt")), 404);
        QCOMPARE(status(get(port, "/app/.hidden")), 404);
        QCOMPARE(status(get(port, "/map0.map")), 404);
        QCOMPARE(status(get(port, "/ws")), 400);
        QCOMPARE(status(exchange(port, "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")), 405);
        QCOMPARE(status(exchange(port, "GET / HTTP/1.1\r\nHost: attacker.example\r\n\r\n")), 421);
        QCOMPARE(status(exchange(port, "GET / HTTP/1.1\r\n\r\n")), 400);
        QCOMPARE(
            status(exchange(port, "GET / HTTP/1.1\r\nHost: a\r\nHost: 127.0.0.1\r\n\r\n")), 400);
        QCOMPARE(status(exchange(port, "HELLO\r\n\r\n")), 400);
        QCOMPARE(status(exchange(port, "GET / HTTP/2.0\r\nHost: 127.0.0.1\r\n\r\n")), 505);
        QCOMPARE(status(exchange(port, "GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'a'))), 431);
        QCOMPARE(status(get(port, "/ws",
                     "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                     "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nOrigin: "
                     "http://attacker.example\r\n")),
            403);

        QVERIFY(isOwnHost("localhost") && isOwnHost("::1") && isOwnHost("127.0.0.1"));
        QVERIFY(!isOwnHost("203.0.113.7") && !isOwnHost("localhost.attacker.example"));

        // A page of this table may open the socket; another site's may not.
        TableClient same(port, QStringLiteral("http://127.0.0.1:%1").arg(port));
        QVERIFY(same.waitOpen());
        TableClient other(port, QStringLiteral("http://attacker.example"));
        QVERIFY(!other.waitOpen());
    }

    void servesTheSymbolsSideBySide()
    {
        TableFixture table({MapCodes {}});
        QImage strip;
        QVERIFY(strip.loadFromData(body(get(table.server->port(), "/symbols.png")), "PNG"));
        QCOMPARE(strip.size(), QSize(kSymbolSize * 65, kSymbolSize));
        QCOMPARE(strip.pixelColor(7, 7), QColor(Qt::white));
        for (const int code : {1, 30, 64}) {
            const QImage picture = SymbolPicture(code)->convertToFormat(QImage::Format_RGB32);
            QCOMPARE(strip.copy(code * kSymbolSize, 0, kSymbolSize, kSymbolSize), picture);
        }

        // The players' QR code, once the address is known, and not before.
        QVERIFY(get(table.server->port(), "/join.png").startsWith("HTTP/1.1 404"));
        table.server->setJoinAddress(QStringLiteral("http://192.168.1.20:8135/"));
        QImage code;
        QVERIFY(code.loadFromData(body(get(table.server->port(), "/join.png")), "PNG"));
        QVERIFY(code.width() > 100 && code.width() == code.height());
    }

    void limitsConnectionsAndSilence()
    {
        TableLimits limits;
        limits.front.requestTimeout = std::chrono::milliseconds(300);
        TableFixture table({MapCodes {}}, limits);
        const quint16 port = table.server->port();
        QCOMPARE(status(exchange(port, "GET / HTTP/1.1\r\n")), 408);

        limits.front.requestTimeout = std::chrono::milliseconds(20000);
        TableFixture busy({MapCodes {}}, limits);
        std::vector<std::unique_ptr<QTcpSocket>> crowd;
        for (int i = 0; i < 200; ++i) {
            crowd.push_back(std::make_unique<QTcpSocket>());
            crowd.back()->connectToHost(QHostAddress::LocalHost, busy.server->port());
        }
        const auto refused = [&] {
            return std::count_if(crowd.begin(), crowd.end(),
                [](const auto &socket) { return socket->peek(12).startsWith("HTTP/1.1 503"); });
        };
        // The shared connections and the GM's room are taken; no more.
        QTRY_COMPARE_WITH_TIMEOUT(refused(), 200 - kSharedConnections - kGmRoom, 20000);
        crowd.clear();
        QTRY_COMPARE(status(get(busy.server->port(), "/")), 200);
    }
};

QTEST_GUILESS_MAIN(TestTableHttp)
#include "test_table_http.moc"
