#pragma once

#include "table/ConnectionLimits.h"
#include "table/HttpFront.h"
#include "table/MapWatcher.h"
#include "table/Table.h"
#include "table/TableMessages.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <QWebSocketServer>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QWebSocket;

namespace vellumor::table {

struct TableLimits
{
    FrontLimits front;
    std::chrono::milliseconds helloTimeout {10000};
    std::chrono::milliseconds pingInterval {20000};
    // Closed when nothing, not even a pong, came for this long.
    std::chrono::milliseconds idleTimeout {50000};
    // WebSockets that are not a GM's; beyond them, or beyond the players of
    // one address, a connection is the GM's only (see ConnectionLimits.h).
    int maxPlayers = kSharedConnections;
    int playersPerAddress = kPlayersPerAddress;
    std::chrono::milliseconds gmRoomHelloTimeout {kGmRoomDeadline};
    // How long stopping waits for the clients to answer the closing frame.
    std::chrono::milliseconds stopTimeout {3000};
};

// The most screens the GM can name: a table, not a stadium.
inline constexpr std::size_t kMaxScreenNames = 200;

// Close codes of the table's WebSocket.
enum TableCloseCode : int {
    kCloseFull = 4503, // a player's hello where only a GM's may come
    kCloseMalformed = 4400,
    kCloseWrongSecret = 4401,
    kClosePlayerCommand = 4403,
    kCloseIdle = 4408,
};

// The table on the network: the HTTP front, the WebSocket connections of
// players and GMs, and what each is told when the table changes.
class TableServer : public QObject
{
    Q_OBJECT
public:
    TableServer(
        Table &table, QByteArray secret, TableLimits limits = {}, QObject *parent = nullptr);
    ~TableServer() override;

    bool listen(const QHostAddress &address, quint16 port);
    QString errorString() const;
    quint16 port() const { return m_front.port(); }
    // The address players open, told to every page and served as a QR code.
    void setJoinAddress(const QString &address);
    // The GM's names for the players' screens, by the id each page keeps, and
    // where a change of them is saved; the reason when it could not be.
    using ScreenNames = std::map<QString, QString>;
    using ScreenNamesSaver = std::function<std::optional<QString>(const ScreenNames &)>;
    void setScreenNames(ScreenNames names, ScreenNamesSaver save);
    // Closes every connection (1000) and stops listening; stopped follows
    // once every client has answered, or after limits.stopTimeout.
    void stop();

signals:
    void stopped();

private:
    enum class Role { Unknown, Player, Gm };
    struct Client
    {
        QWebSocket *socket = nullptr;
        Role role = Role::Unknown;
        bool gmOnly = false; // in the GM's room: only a GM's hello is taken
        qint64 ackView = -1;
        qint64 ackRev = -1;
        std::optional<Screen> screen;
        QElapsedTimer heard;
    };

    void accept();
    // The map's file now holds codes; refused: why it cannot be read.
    void mapFileRead(int map, const std::variant<MapCodes, QString> &read);
    Client *clientOf(int id);
    void receive(int id, const QString &text);
    void hello(Client &client, const Hello &greeting);
    void nameScreen(Client &gm, const NameScreen &naming);
    void command(Client &client, const GmCommand &command);
    void publish(const Applied &applied);
    void ping();
    void drop(int id);
    void closeClient(Client &client, int code, const QString &reason);
    void sendToRole(Role role, const QByteArray &message);
    void pointAt(Client &gm, const Point &point);
    void sendPlayers();
    void sendPlayersNow();
    bool upToDate(const Client &client) const;
    // Whether a new connection from this address finds no player's place.
    bool playersFull(const QHostAddress &address) const;
    void finishStopping();

    Table &m_table;
    QByteArray m_secret;
    TableLimits m_limits;
    GmStateMessages m_gmState;
    QJsonObject m_facts;
    ScreenNames m_screenNames;
    ScreenNamesSaver m_saveScreenNames;
    HttpFront m_front;
    QWebSocketServer m_sockets;
    QTimer m_pinger;
    MapWatcher m_watcher;
    std::map<int, Client> m_clients;
    std::vector<QString> m_mapFailures; // the last refusal told, per map
    int m_nextId = 1;
    bool m_playersDue = false;
    bool m_stopping = false;
    bool m_stopped = false;
    QTimer m_stopBound;
    // What the GMs were last told of the players: an unchanged list is not
    // sent again. Empty until a GM has been told, and again when one joins.
    std::optional<std::vector<PlayerStatus>> m_playersTold;
};

} // namespace vellumor::table
