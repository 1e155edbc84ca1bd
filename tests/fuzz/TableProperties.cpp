#include "fuzz/TableProperties.h"

#include "table/ClientMessage.h"
#include "table/HttpRequest.h"
#include "table/Table.h"
#include "table/TableMessages.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace vellumor::fuzzing {

using namespace vellumor::table;

QString checkTableRequest(QByteArrayView bytes)
{
    const QByteArray head = bytes.toByteArray();
    const auto parsed = parseHttpRequest(head);
    if (const int *status = std::get_if<int>(&parsed)) {
        if (*status != 400 && *status != 431 && *status != 505)
            return QStringLiteral("refused with %1").arg(*status);
        return {};
    }
    const HttpRequest &request = std::get<HttpRequest>(parsed);
    const HttpSite site {
        [](const QByteArray &host) { return host == "127.0.0.1"; }, "png", "icon", {}};
    const HttpAnswer answer = answerRequest(request, site);
    static const QList<int> statuses {101, 200, 400, 403, 404, 405, 421};
    if (!statuses.contains(answer.status))
        return QStringLiteral("answered %1").arg(answer.status);
    const QByteArray host = request.header("host").value_or(QByteArray()).toLower();
    if (answer.status == 200 && !host.startsWith("127.0.0.1"))
        return QStringLiteral("served a page to host %1").arg(QString::fromLatin1(host));
    if (answer.upgrade && (request.method != "GET" || request.path != "/ws"))
        return QStringLiteral("upgraded %1").arg(QString::fromLatin1(request.path));
    if (!answer.upgrade && !responseBytes(answer).contains("Content-Security-Policy: "))
        return QStringLiteral("answered without its security headers");
    return {};
}

QString checkGmMessages(QByteArrayView bytes)
{
    MapCodes codes {};
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = SymbolCode(i % (kHighestSymbolCode + 1));
    std::vector<TableMap> maps {{QStringLiteral("a.map"), QStringLiteral("a.map"), codes, {}},
        {QStringLiteral("b.map"), QStringLiteral("b.map"), {}, {}}};
    Table table(std::move(maps), [](const TableMap &, const MapState &) { return std::nullopt; });
    qint64 lastRev[2] = {0, 0};
    for (const QByteArray &line : bytes.toByteArray().split('\n')) {
        const auto parsed = parseClientMessage(line);
        if (std::holds_alternative<MessageError>(parsed))
            continue;
        const auto *command = std::get_if<GmCommand>(&std::get<ClientMessage>(parsed));
        if (!command)
            continue;
        const auto result = table.apply(*command);
        if (const auto *applied = std::get_if<Applied>(&result); applied && applied->map >= 0) {
            // What a player would be sent names no hidden cell's code.
            const auto change = QJsonDocument::fromJson(
                playerChange(table.maps()[std::size_t(applied->map)], 1, *applied));
            if (!change.isObject())
                return QStringLiteral("a change that is not JSON");
            const MapState &now = table.maps()[std::size_t(applied->map)].state;
            for (const QJsonValue &marker :
                change.object().value(QLatin1String("party")).toArray()) {
                if (!now.revealed[std::size_t(marker[QLatin1String("cell")].toInt())])
                    return QStringLiteral("a change told of a marker on a hidden cell");
            }
        }
        for (std::size_t map = 0; map < 2; ++map) {
            const MapState &state = table.maps()[map].state;
            if (state.rev < lastRev[map])
                return QStringLiteral("the revision went back");
            lastRev[map] = state.rev;
            if (state.frame
                && (!onMap(state.frame->left, state.frame->top)
                    || !onMap(state.frame->right, state.frame->bottom) || state.frame->width() < 1
                    || state.frame->height() < 1))
                return QStringLiteral("a frame outside the map");
            for (const QJsonValue &marker : partyJson(state.party, &state.revealed).toArray()) {
                if (!state.revealed[std::size_t(marker[QLatin1String("cell")].toInt())])
                    return QStringLiteral("a marker on a hidden cell");
            }
            for (const int cell : state.party) {
                if (cell != kNoMarker && (cell < 0 || cell >= kCellCount))
                    return QStringLiteral("a marker off the map");
            }
            const auto seen = playerCodes(table.maps()[map].codes, state);
            for (std::size_t i = 0; i < seen.size(); ++i) {
                if ((seen[i] == -1) == state.revealed[i])
                    return QStringLiteral("cell %1 shown against its state").arg(i);
            }
        }
    }
    return {};
}

} // namespace vellumor::fuzzing
