// Not Qt HTTP Server 6.4: a technology preview, GPL-3 only, its API changed
// later, and it cannot check a WebSocket upgrade before accepting it.
#include "table/HttpFront.h"

#include <QTcpSocket>
#include <QTimer>

namespace vellumor::table {

HttpFront::HttpFront(HttpSite site, FrontLimits limits, QObject *parent)
    : QObject(parent)
    , m_site(std::move(site))
    , m_limits(limits)
{
    connect(&m_server, &QTcpServer::newConnection, this, &HttpFront::accept);
}

bool HttpFront::listen(const QHostAddress &address, quint16 port)
{
    // A crowd arriving at once waits in the queue to be answered (or refused
    // over the limit) rather than waiting on the system's retries.
    m_server.setListenBacklogSize(std::max(128, 4 * m_limits.maxConnections));
    return m_server.listen(address, port);
}

void HttpFront::close()
{
    m_server.close();
}

int HttpFront::connectionCount()
{
    m_sockets.removeIf([](const QPointer<QTcpSocket> &socket) {
        return socket.isNull() || socket->state() == QAbstractSocket::UnconnectedState;
    });
    return int(m_sockets.size());
}

void HttpFront::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::disconnected, this, [socket] { socket->deleteLater(); });
        const int open = connectionCount();
        if (open >= m_limits.maxConnections + m_limits.gmRoom) {
            answer(socket, statusResponse(503));
            continue;
        }
        m_sockets.append(socket);
        // A client that has not sent its whole request in time is closed,
        // not waited for; in the GM's room, sooner.
        auto *timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket,
            [this, socket] { answer(socket, statusResponse(408)); });
        timer->start(open >= m_limits.maxConnections ? m_limits.roomRequestTimeout
                                                     : m_limits.requestTimeout);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        readRequest(socket);
    }
}

void HttpFront::readRequest(QTcpSocket *socket)
{
    const QByteArray received = socket->peek(kMaxRequestHead + 1);
    const qsizetype length = requestHeadLength(received);
    if (length == 0) {
        if (received.size() > kMaxRequestHead)
            answer(socket, statusResponse(431));
        return;
    }
    const auto request = parseHttpRequest(received.left(length));
    if (const int *status = std::get_if<int>(&request)) {
        answer(socket, statusResponse(*status));
        return;
    }
    const HttpAnswer reply = answerRequest(std::get<HttpRequest>(request), m_site);
    if (!reply.upgrade) {
        answer(socket, responseBytes(reply));
        return;
    }
    // The WebSocket server reads the head itself and owns the socket from here.
    socket->disconnect(this);
    qDeleteAll(socket->findChildren<QTimer *>(Qt::FindDirectChildrenOnly));
    socket->setParent(nullptr);
    emit upgradeRequested(socket);
}

void HttpFront::answer(QTcpSocket *socket, const QByteArray &response)
{
    socket->disconnect(this);
    qDeleteAll(socket->findChildren<QTimer *>(Qt::FindDirectChildrenOnly));
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->readAll();
    socket->write(response);
    socket->disconnectFromHost();
}

} // namespace vellumor::table
