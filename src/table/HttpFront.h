#pragma once

#include "table/ConnectionLimits.h"
#include "table/HttpRequest.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>

#include <chrono>

class QTcpSocket;

namespace vellumor::table {

struct FrontLimits
{
    int maxConnections = kSharedConnections;
    // Connections beyond maxConnections, kept for the GM: each must send its
    // request within roomRequestTimeout.
    int gmRoom = kGmRoom;
    std::chrono::milliseconds requestTimeout {10000};
    std::chrono::milliseconds roomRequestTimeout {kGmRoomDeadline};
};

// The table's HTTP front: answers GET for the compiled-in pages and hands
// checked WebSocket upgrades on. One request per connection.
class HttpFront : public QObject
{
    Q_OBJECT
public:
    HttpFront(HttpSite site, FrontLimits limits, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    QString errorString() const { return m_server.errorString(); }
    quint16 port() const { return m_server.serverPort(); }
    void close();
    void setJoinPng(QByteArray png) { m_site.joinPng = std::move(png); }
    // Open connections, pages and WebSockets alike.
    int connectionCount();

signals:
    // A request to upgrade whose head is still unread in the socket.
    void upgradeRequested(QTcpSocket *socket);

private:
    void accept();
    void readRequest(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &response);

    QTcpServer m_server;
    HttpSite m_site;
    FrontLimits m_limits;
    QList<QPointer<QTcpSocket>> m_sockets;
};

} // namespace vellumor::table
