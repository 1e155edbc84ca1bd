#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <functional>
#include <optional>
#include <variant>

namespace vellumor::table {

// A request's head as it arrived from anyone on the network: the request line
// and headers, up to the blank line that ends them.
struct HttpRequest
{
    QByteArray method;
    QByteArray path; // without its query
    QList<QPair<QByteArray, QByteArray>> headers; // names in lower case

    // The header's value; nothing when it is absent.
    std::optional<QByteArray> header(const QByteArray &lowerName) const;
};

inline constexpr int kMaxRequestHead = 8 * 1024;

// Where the head ends in what has arrived so far: the length up to and with its
// blank line, 0 while it is not complete.
qsizetype requestHeadLength(const QByteArray &received);

// The request, or the HTTP status it is refused with (400, 431, 505).
std::variant<HttpRequest, int> parseHttpRequest(const QByteArray &head);

// What the front answers a request with.
struct HttpAnswer
{
    int status = 404;
    QByteArray contentType;
    QByteArray body;
    bool upgrade = false; // hand the connection to the WebSocket server
};

struct HttpSite
{
    // Whether a Host header's name or address (without its port) is this machine's.
    std::function<bool(const QByteArray &host)> isOwnHost;
    // The contents served at /symbols.png.
    QByteArray symbolsPng;
    // The program's icon, a PNG served at /favicon.ico.
    QByteArray iconPng;
    // The QR code of the players' address, served at /join.png.
    QByteArray joinPng;
};

HttpAnswer answerRequest(const HttpRequest &request, const HttpSite &site);

// The full response for an answer, headers and body, with the page's security
// headers; the connection closes after it.
QByteArray responseBytes(const HttpAnswer &answer);
QByteArray statusResponse(int status);

} // namespace vellumor::table
