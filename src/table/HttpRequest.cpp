#include "table/HttpRequest.h"

#include <QFile>
#include <QRegularExpression>

// The pages are compiled into this static library; a program links them in
// only when something names them.
static void initWebPages()
{
    Q_INIT_RESOURCE(web);
}

namespace vellumor::table {

namespace {

constexpr int kMaxHeaders = 64;

const QByteArray kSecurityHeaders
    = "Content-Security-Policy: default-src 'none'; script-src 'self'; style-src 'self'; "
      "img-src 'self'; connect-src 'self'; base-uri 'none'; form-action 'none'; "
      "frame-ancestors 'none'\r\n"
      "X-Content-Type-Options: nosniff\r\n"
      "Referrer-Policy: no-referrer\r\n"
      "Cache-Control: no-store\r\n";

bool isToken(const QByteArray &text)
{
    static const QRegularExpression token(QStringLiteral("^[!#$%&'*+.^_`|~0-9A-Za-z-]+$"));
    return !text.isEmpty() && token.match(QString::fromLatin1(text)).hasMatch();
}

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 421:
        return "Misdirected Request";
    case 431:
        return "Request Header Fields Too Large";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Error";
    }
}

QByteArray contentType(const QByteArray &name)
{
    if (name.endsWith(".html"))
        return "text/html; charset=utf-8";
    if (name.endsWith(".js"))
        return "text/javascript; charset=utf-8";
    if (name.endsWith(".css"))
        return "text/css; charset=utf-8";
    if (name.endsWith(".png"))
        return "image/png";
    if (name.endsWith(".svg"))
        return "image/svg+xml";
    return "application/octet-stream";
}

// A compiled-in file under the pages' prefix; never a file on disk.
HttpAnswer resource(const QByteArray &name)
{
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9_-][A-Za-z0-9._-]*$"));
    if (!safe.match(QString::fromLatin1(name)).hasMatch())
        return {404, {}, {}, false};
    static const bool loaded = (initWebPages(), true);
    Q_UNUSED(loaded);
    QFile file(QStringLiteral(":/table/web/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        return {404, {}, {}, false};
    return {200, contentType(name), file.readAll(), false};
}

QByteArray hostName(const QByteArray &host)
{
    if (host.startsWith('[')) {
        const qsizetype end = host.indexOf(']');
        return end < 0 ? QByteArray() : host.mid(1, end - 1);
    }
    const qsizetype colon = host.indexOf(':');
    return colon < 0 ? host : host.left(colon);
}

bool hasToken(const QByteArray &list, const QByteArray &token)
{
    for (const QByteArray &part : list.split(','))
        if (part.trimmed().toLower() == token)
            return true;
    return false;
}

} // namespace

std::optional<QByteArray> HttpRequest::header(const QByteArray &lowerName) const
{
    for (const auto &[name, value] : headers) {
        if (name == lowerName)
            return value;
    }
    return std::nullopt;
}

qsizetype requestHeadLength(const QByteArray &received)
{
    const qsizetype end = received.indexOf("\r\n\r\n");
    return end < 0 ? 0 : end + 4;
}

std::variant<HttpRequest, int> parseHttpRequest(const QByteArray &head)
{
    if (head.size() > kMaxRequestHead)
        return 431;
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray &line : lines) {
        if (!line.endsWith('\r') && &line != &lines.back())
            return 400;
        line.chop(line.endsWith('\r') ? 1 : 0);
    }
    const QList<QByteArray> requestLine = lines.value(0).split(' ');
    if (requestLine.size() != 3 || !isToken(requestLine[0]))
        return 400;
    if (requestLine[2] != "HTTP/1.1" && requestLine[2] != "HTTP/1.0")
        return requestLine[2].startsWith("HTTP/") ? 505 : 400;
    HttpRequest request;
    request.method = requestLine[0];
    const QByteArray &target = requestLine[1];
    if (!target.startsWith('/'))
        return 400;
    request.path = target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(line.left(colon)))
            return 400;
        if (request.headers.size() >= kMaxHeaders)
            return 431;
        const QByteArray name = line.left(colon).toLower();
        if (name == "host" && request.header("host"))
            return 400;
        request.headers.append({name, line.mid(colon + 1).trimmed()});
    }
    return request;
}

HttpAnswer answerRequest(const HttpRequest &request, const HttpSite &site)
{
    const auto host = request.header("host");
    if (!host)
        return {400, {}, {}, false};
    if (!site.isOwnHost(hostName(*host).toLower()))
        return {421, {}, {}, false};
    if (request.method != "GET")
        return {405, {}, {}, false};
    const auto upgrade = request.header("upgrade");
    if (request.path == "/ws") {
        if (!upgrade || upgrade->toLower() != "websocket"
            || !hasToken(request.header("connection").value_or(QByteArray()), "upgrade"))
            return {400, {}, {}, false};
        // Browsers always name the page's origin; a program that names none
        // is no page another site could have opened.
        const auto origin = request.header("origin");
        if (origin && origin->toLower() != "http://" + host->toLower())
            return {403, {}, {}, false};
        return {101, {}, {}, true};
    }
    if (request.path == "/")
        return resource("player.html");
    if (request.path == "/gm")
        return resource("gm.html");
    if (request.path == "/symbols.png")
        return {200, "image/png", site.symbolsPng, false};
    if (request.path == "/favicon.ico")
        return {200, "image/png", site.iconPng, false};
    if (request.path == "/join.png" && !site.joinPng.isEmpty())
        return {200, "image/png", site.joinPng, false};
    if (request.path.startsWith("/app/"))
        return resource(request.path.mid(5));
    return {404, {}, {}, false};
}

QByteArray responseBytes(const HttpAnswer &answer)
{
    QByteArray response = "HTTP/1.1 " + QByteArray::number(answer.status) + ' '
        + reason(answer.status) + "\r\nConnection: close\r\n" + kSecurityHeaders;
    if (answer.status == 405)
        response += "Allow: GET\r\n";
    if (!answer.contentType.isEmpty())
        response += "Content-Type: " + answer.contentType + "\r\n";
    response += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n\r\n";
    return response + answer.body;
}

QByteArray statusResponse(int status)
{
    return responseBytes({status, {}, {}, false});
}

} // namespace vellumor::table
