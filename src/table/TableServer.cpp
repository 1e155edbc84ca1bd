#include "table/TableServer.h"

#include "table/Overloaded.h"
#include "table/OwnHost.h"
#include "table/QrCode.h"
#include "table/SymbolStrip.h"
#include "table/TableMessages.h"
#include "table/TableSecret.h"

#include <QWebSocket>

namespace vellumor::table {

namespace {

QStringList mapPaths(const Table &table)
{
    QStringList paths;
    for (const TableMap &map : table.maps())
        paths << map.path;
    return paths;
}

} // namespace

TableServer::TableServer(Table &table, QByteArray secret, TableLimits limits, QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_secret(std::move(secret))
    , m_limits(limits)
    , m_front(HttpSite {isOwnHost, symbolStripPng(), programIconPng(), {}}, limits.front)
    , m_sockets(QStringLiteral("vellumor-table"), QWebSocketServer::NonSecureMode)
    , m_watcher(mapPaths(table))
    , m_mapFailures(table.maps().size())
{
    setJoinAddress({});
    // A GM who saves the map in the editor sees it here at once, and the
    // players in the cells they can see.
    connect(&m_watcher, &MapWatcher::mayHaveChanged, this, [this] {
        for (std::size_t map = 0; map < m_table.maps().size(); ++map)
            mapFileRead(int(map), readTableMap(m_table.maps()[map].path));
    });
    m_sockets.setHandshakeTimeout(limits.front.requestTimeout);
    connect(&m_front, &HttpFront::upgradeRequested, &m_sockets, [this](QTcpSocket *socket) {
        // Owned here until a WebSocket takes it, and freed with the server
        // if its handshake fails.
        socket->setParent(&m_sockets);
        m_sockets.handleConnection(socket);
    });
    connect(&m_sockets, &QWebSocketServer::newConnection, this, &TableServer::accept);
    connect(&m_pinger, &QTimer::timeout, this, &TableServer::ping);
    m_stopBound.setSingleShot(true);
    connect(&m_stopBound, &QTimer::timeout, this, &TableServer::finishStopping);
}

TableServer::~TableServer()
{
    stop();
    for (auto &[id, client] : m_clients) {
        client.socket->disconnect(this);
        delete client.socket;
    }
}

void TableServer::setJoinAddress(const QString &address)
{
    m_facts = tableFacts(address);
    m_front.setJoinPng(address.isEmpty() ? QByteArray() : qrPng(address));
}

bool TableServer::listen(const QHostAddress &address, quint16 port)
{
    if (!m_front.listen(address, port))
        return false;
    m_pinger.start(m_limits.pingInterval);
    return true;
}

QString TableServer::errorString() const
{
    return m_front.errorString();
}

void TableServer::stop()
{
    if (m_stopping)
        return;
    m_stopping = true;
    m_pinger.stop();
    m_front.close();
    for (auto &[id, client] : m_clients)
        client.socket->close(
            QWebSocketProtocol::CloseCodeNormal, QStringLiteral("the table stops"));
    // A player far behind still has everything before the closing frame to
    // read; each client that answers it is dropped.
    if (m_clients.empty())
        QTimer::singleShot(0, this, &TableServer::finishStopping);
    else
        m_stopBound.start(m_limits.stopTimeout);
}

void TableServer::finishStopping()
{
    if (!m_stopping || m_stopped)
        return;
    m_stopped = true;
    m_stopBound.stop();
    emit stopped();
}

bool TableServer::playersFull(const QHostAddress &address) const
{
    int players = 0;
    int fromAddress = 0;
    for (const auto &[id, client] : m_clients) {
        if (client.role == Role::Gm)
            continue;
        ++players;
        if (client.socket->peerAddress().isEqual(address))
            ++fromAddress;
    }
    // This machine's own pages (the GM's tabs, a screen it drives) are not a
    // crowd from one device.
    const bool ownMachine
        = address.isEqual(QHostAddress::LocalHost) || address.isEqual(QHostAddress::LocalHostIPv6);
    return players >= m_limits.maxPlayers
        || (!ownMachine && fromAddress >= m_limits.playersPerAddress);
}

void TableServer::accept()
{
    while (QWebSocket *socket = m_sockets.nextPendingConnection()) {
        const int id = m_nextId++;
        const bool gmOnly = playersFull(socket->peerAddress());
        socket->setParent(this);
        socket->setMaxAllowedIncomingMessageSize(kMaxMessageSize);
        socket->setMaxAllowedIncomingFrameSize(kMaxMessageSize);
        Client &client = m_clients[id];
        client.socket = socket;
        client.gmOnly = gmOnly;
        client.heard.start();
        connect(socket, &QWebSocket::textMessageReceived, this,
            [this, id](const QString &text) { receive(id, text); });
        connect(socket, &QWebSocket::binaryMessageReceived, this, [this, id] {
            if (Client *client = clientOf(id))
                closeClient(*client, kCloseMalformed, QStringLiteral("text frames only"));
        });
        connect(socket, &QWebSocket::pong, this, [this, id] {
            if (Client *client = clientOf(id))
                client->heard.restart();
        });
        connect(
            socket, &QWebSocket::disconnected, this, [this, id] { drop(id); },
            Qt::QueuedConnection);
        const auto helloTimeout = gmOnly
            ? std::min(m_limits.gmRoomHelloTimeout, m_limits.helloTimeout)
            : m_limits.helloTimeout;
        QTimer::singleShot(helloTimeout, socket, [this, id] {
            const auto found = m_clients.find(id);
            if (found != m_clients.end() && found->second.role == Role::Unknown)
                closeClient(found->second, kCloseIdle, QStringLiteral("no hello"));
        });
    }
}

void TableServer::drop(int id)
{
    const auto found = m_clients.find(id);
    if (found == m_clients.end())
        return;
    const bool player = found->second.role == Role::Player;
    found->second.socket->deleteLater();
    m_clients.erase(found);
    if (m_stopping) {
        if (m_clients.empty())
            finishStopping();
        return;
    }
    if (player)
        sendPlayers();
}

void TableServer::closeClient(Client &client, int code, const QString &reason)
{
    client.socket->close(QWebSocketProtocol::CloseCode(code), reason);
}

TableServer::Client *TableServer::clientOf(int id)
{
    const auto found = m_clients.find(id);
    return found == m_clients.end() ? nullptr : &found->second;
}

void TableServer::receive(int id, const QString &text)
{
    Client *known = clientOf(id);
    if (!known || m_stopping)
        return;
    Client &client = *known;
    client.heard.restart();
    auto parsed = parseClientMessage(text.toUtf8());
    if (const auto *error = std::get_if<MessageError>(&parsed)) {
        closeClient(client, kCloseMalformed, error->text);
        return;
    }
    const auto &message = std::get<ClientMessage>(parsed);
    if (const auto *greeting = std::get_if<Hello>(&message)) {
        if (client.role != Role::Unknown)
            closeClient(client, kCloseMalformed, QStringLiteral("hello twice"));
        else
            hello(client, *greeting);
        return;
    }
    if (client.role == Role::Unknown) {
        closeClient(client, kCloseMalformed, QStringLiteral("hello first"));
        return;
    }
    std::visit(Overloaded {[&](const Ack &ack) {
                               client.ackView = ack.view;
                               client.ackRev = ack.rev;
                               if (client.role == Role::Player)
                                   sendPlayers();
                           },
                   [&](const Resync &) {
                       client.socket->sendTextMessage(QString::fromUtf8(client.role == Role::Gm
                               ? m_gmState.message(m_table, m_facts)
                               : playerState(m_table.shownMap(), m_table.view(), m_facts)));
                   },
                   [&](const NameScreen &naming) {
                       if (client.role != Role::Gm)
                           closeClient(client, kClosePlayerCommand, QStringLiteral("not the GM"));
                       else
                           nameScreen(client, naming);
                   },
                   [&](const Point &point) {
                       if (client.role != Role::Gm)
                           closeClient(client, kClosePlayerCommand, QStringLiteral("not the GM"));
                       else
                           pointAt(client, point);
                   },
                   [&](const End &) {
                       if (client.role != Role::Gm)
                           closeClient(client, kClosePlayerCommand, QStringLiteral("not the GM"));
                       else // after this message's handling, as Ctrl+C would
                           QTimer::singleShot(0, this, &TableServer::stop);
                   },
                   [&](const GmCommand &gmCommand) {
                       if (client.role != Role::Gm)
                           closeClient(client, kClosePlayerCommand, QStringLiteral("not the GM"));
                       else
                           command(client, gmCommand);
                   },
                   [](const Hello &) {}},
        message);
}

void TableServer::hello(Client &client, const Hello &greeting)
{
    const bool gm = greeting.gm;
    if (gm && !isTableSecret(greeting.secret.toUtf8(), m_secret)) {
        client.socket->sendTextMessage(QString::fromUtf8(
            refusedMessage(QStringLiteral("The table does not know this GM address. Open the "
                                          "one vellumor-map table printed when it started."))));
        closeClient(client, kCloseWrongSecret, QStringLiteral("wrong secret"));
        return;
    }
    if (!gm && client.gmOnly) {
        closeClient(client, kCloseFull, QStringLiteral("no room for another player"));
        return;
    }
    client.role = gm ? Role::Gm : Role::Player;
    client.screen = greeting.screen;
    if (gm) {
        m_playersTold.reset();
        client.socket->sendTextMessage(QString::fromUtf8(m_gmState.message(m_table, m_facts)));
        for (std::size_t map = 0; map < m_mapFailures.size(); ++map) {
            if (!m_mapFailures[map].isEmpty())
                client.socket->sendTextMessage(QString::fromUtf8(
                    noticeMessage(QStringLiteral("warning"), m_mapFailures[map])));
        }
    } else {
        client.socket->sendTextMessage(
            QString::fromUtf8(playerState(m_table.shownMap(), m_table.view(), m_facts)));
    }
    sendPlayers();
}

void TableServer::setScreenNames(ScreenNames names, ScreenNamesSaver save)
{
    m_screenNames = std::move(names);
    m_saveScreenNames = std::move(save);
}

void TableServer::nameScreen(Client &gm, const NameScreen &naming)
{
    const auto refuse = [&](const QString &text) {
        gm.socket->sendTextMessage(QString::fromUtf8(noticeMessage(QStringLiteral("error"), text)));
    };
    const Client *player = clientOf(naming.player);
    if (!player || player->role != Role::Player || !player->screen)
        return refuse(QStringLiteral("there is no such screen to name"));
    ScreenNames next = m_screenNames;
    if (naming.name.isEmpty())
        next.erase(player->screen->id);
    else if (next.size() >= kMaxScreenNames && !next.contains(player->screen->id))
        return refuse(QStringLiteral("the table keeps at most %1 names").arg(kMaxScreenNames));
    else
        next[player->screen->id] = naming.name;
    if (m_saveScreenNames) {
        if (const auto problem = m_saveScreenNames(next))
            return refuse(QStringLiteral("the name could not be saved: ") + *problem);
    }
    m_screenNames = std::move(next);
    sendPlayers();
}

void TableServer::command(Client &client, const GmCommand &gmCommand)
{
    const auto result = m_table.apply(gmCommand);
    if (const auto *problem = std::get_if<QString>(&result)) {
        client.socket->sendTextMessage(
            QString::fromUtf8(noticeMessage(QStringLiteral("error"), *problem)));
        return;
    }
    const auto &applied = std::get<Applied>(result);
    publish(applied);
    if (applied.stepped) {
        sendToRole(Role::Gm,
            steppedMessage(
                *applied.stepped, m_table.maps()[std::size_t(applied.stepped->map)].name));
    }
}

// Players of another map than the one pointed at see nothing of it.
void TableServer::pointAt(Client &gm, const Point &point)
{
    const auto refuse = [&](const QString &text) {
        gm.socket->sendTextMessage(QString::fromUtf8(noticeMessage(QStringLiteral("error"), text)));
    };
    if (point.map < 0 || std::size_t(point.map) >= m_table.maps().size())
        return refuse(QStringLiteral("there is no map %1").arg(point.map));
    if (point.cell < 0 || point.cell >= kCellCount)
        return refuse(QStringLiteral("there is no cell %1").arg(point.cell));
    if (point.map == m_table.shown())
        sendToRole(Role::Player, pointerMessage(point));
}

// The state is on disk already: tell the players, then the GMs.
void TableServer::publish(const Applied &applied)
{
    if (applied.newView)
        sendToRole(Role::Player, playerState(m_table.shownMap(), m_table.view(), m_facts));
    else if (applied.map == m_table.shown())
        sendToRole(Role::Player, playerChange(m_table.shownMap(), m_table.view(), applied));
    sendToRole(Role::Gm, m_gmState.message(m_table, m_facts));
    if (applied.newView || applied.map == m_table.shown())
        sendPlayers();
}

void TableServer::mapFileRead(int map, const std::variant<MapCodes, QString> &read)
{
    QString &told = m_mapFailures[std::size_t(map)];
    const QString &name = m_table.maps()[std::size_t(map)].name;
    if (const auto *failure = std::get_if<QString>(&read)) {
        if (*failure != told) {
            told = *failure;
            sendToRole(Role::Gm,
                noticeMessage(QStringLiteral("warning"),
                    QStringLiteral("%1 was changed on disk but cannot be read: %2; the table "
                                   "keeps the last good map")
                        .arg(name, *failure)));
        }
        return;
    }
    told.clear();
    const auto result = m_table.replaceCodes(map, std::get<MapCodes>(read));
    if (const auto *problem = std::get_if<QString>(&result))
        sendToRole(Role::Gm, noticeMessage(QStringLiteral("error"), *problem));
    else if (std::get<Applied>(result).map >= 0)
        publish(std::get<Applied>(result));
}

void TableServer::sendToRole(Role role, const QByteArray &message)
{
    const QString text = QString::fromUtf8(message);
    for (auto &[id, client] : m_clients) {
        if (client.role == role)
            client.socket->sendTextMessage(text);
    }
}

bool TableServer::upToDate(const Client &client) const
{
    return client.ackView == m_table.view() && client.ackRev == m_table.shownMap().state.rev;
}

// Once for all the acknowledgements that arrived together: after a reveal,
// every player acknowledges it at about the same moment.
void TableServer::sendPlayers()
{
    if (m_playersDue)
        return;
    m_playersDue = true;
    QTimer::singleShot(0, this, [this] {
        m_playersDue = false;
        sendPlayersNow();
    });
}

void TableServer::sendPlayersNow()
{
    std::vector<PlayerStatus> players;
    for (const auto &[id, client] : m_clients) {
        if (client.role == Role::Player) {
            const auto named
                = client.screen ? m_screenNames.find(client.screen->id) : m_screenNames.end();
            players.push_back({id, upToDate(client), client.screen,
                named == m_screenNames.end() ? QString() : named->second});
        }
    }
    if (m_playersTold == players)
        return;
    sendToRole(Role::Gm, playersMessage(players));
    m_playersTold = std::move(players);
}

void TableServer::ping()
{
    for (auto &[id, client] : m_clients) {
        if (client.role == Role::Unknown)
            continue;
        if (client.heard.hasExpired(m_limits.idleTimeout.count()))
            closeClient(client, kCloseIdle, QStringLiteral("silent too long"));
        else
            client.socket->ping();
    }
}

} // namespace vellumor::table
