#pragma once

#include "document/MapCodec.h"
#include "support/TestFiles.h"
#include "table/Table.h"
#include "table/TableFile.h"
#include "table/TableFileWriter.h"
#include "table/TableServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>

#include <memory>

namespace vellumor::testing {

// A WebSocket client of the table that keeps every message it receives.
class TableClient : public QObject
{
public:
    explicit TableClient(quint16 port, const QString &origin = {})
    {
        connect(&socket, &QWebSocket::textMessageReceived, this, [this](const QString &text) {
            raw.append(text.toUtf8());
            messages.append(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        connect(&socket, &QWebSocket::disconnected, this, [this] {
            closeCode = socket.closeCode();
            closed = true;
        });
        QNetworkRequest request(QUrl(QStringLiteral("ws://127.0.0.1:%1/ws").arg(port)));
        if (!origin.isEmpty())
            request.setRawHeader("Origin", origin.toUtf8());
        socket.open(request);
    }

    bool waitOpen()
    {
        if (socket.state() == QAbstractSocket::ConnectedState)
            return true;
        QSignalSpy spy(&socket, &QWebSocket::connected);
        return spy.wait(5000);
    }
    void send(const QJsonObject &message)
    {
        socket.sendTextMessage(
            QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    }
    void hello(const QString &role, const QString &secret = {})
    {
        QJsonObject message {
            {QStringLiteral("type"), QStringLiteral("hello")}, {QStringLiteral("role"), role}};
        if (!secret.isNull())
            message.insert(QStringLiteral("secret"), secret);
        send(message);
    }
    // The latest message of this type, waiting until one arrives after the
    // first `after` messages.
    QJsonObject waitFor(const QString &type, qsizetype after = 0)
    {
        for (int round = 0; round < 500; ++round) {
            for (qsizetype i = messages.size() - 1; i >= after; --i) {
                if (messages[i].value(QStringLiteral("type")).toString() == type)
                    return messages[i];
            }
            if (closed)
                break;
            QTest::qWait(10);
        }
        return {};
    }
    bool waitClosed()
    {
        for (int round = 0; round < 500 && !closed; ++round)
            QTest::qWait(10);
        return closed;
    }

    QWebSocket socket;
    QList<QJsonObject> messages;
    QList<QByteArray> raw;
    bool closed = false;
    int closeCode = 0;
};

inline QJsonObject message(
    const char *type, std::initializer_list<QPair<QString, QJsonValue>> fields = {})
{
    QJsonObject object {{QStringLiteral("type"), QLatin1String(type)}};
    for (const auto &[key, value] : fields)
        object.insert(key, value);
    return object;
}

// A table of maps written into a temporary folder, served on the loopback.
struct TableFixture
{
    explicit TableFixture(std::vector<MapCodes> maps, table::TableLimits limits = {})
    {
        QStringList paths;
        for (std::size_t i = 0; i < maps.size(); ++i) {
            paths << folder.filePath(QStringLiteral("map%1.map").arg(i));
            writeFile(paths.back(), mapfile::encode(maps[i]));
        }
        auto opened = table::openTableMaps(paths, false);
        QVERIFY2(std::holds_alternative<std::vector<table::TableMap>>(opened),
            qPrintable(std::get_if<QString>(&opened) ? *std::get_if<QString>(&opened) : QString()));
        state = std::make_unique<table::Table>(
            std::move(std::get<std::vector<table::TableMap>>(opened)),
            [this](const table::TableMap &map, const table::MapState &next) {
                return writer.write(map.path, next);
            });
        server = std::make_unique<table::TableServer>(*state, secret, limits);
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
    }

    std::unique_ptr<TableClient> join(const QString &role)
    {
        auto client = std::make_unique<TableClient>(server->port());
        client->waitOpen();
        client->hello(role, role == QLatin1String("gm") ? QString::fromLatin1(secret) : QString());
        client->waitFor(
            role == QLatin1String("gm") ? QStringLiteral("gm-state") : QStringLiteral("state"));
        return client;
    }

    QTemporaryDir folder;
    QByteArray secret = "0123456789abcdefghijkl";
    table::TableFileWriter writer;
    std::unique_ptr<table::Table> state;
    std::unique_ptr<table::TableServer> server;
};

} // namespace vellumor::testing
