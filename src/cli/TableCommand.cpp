#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapTool.h"
#include "document/FileReplacing.h"
#include "formats/ExportFormats.h"
#include "table/PlayerAddresses.h"
#include "table/QrCode.h"
#include "table/ScreenNames.h"
#include "table/SecretFile.h"
#include "table/TableFile.h"
#include "table/TableFileWriter.h"
#include "table/TableLock.h"
#include "table/TableServer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHostInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vellumor::maptool {

namespace {

// The desktop's browser, as a file manager's "Show at the table" wants; the
// table runs on whether or not one opens.
void openInBrowser(const QString &address, QTextStream &err)
{
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {address})) {
        err << QStringLiteral("vellumor-map: table: cannot run xdg-open; open the GM address above")
            << Qt::endl;
    }
}

using namespace vellumor::table;

constexpr int kDefaultPort = 8135;

// SIGINT and SIGTERM reach the event loop through a socket pair, the one
// thing a signal handler may safely do, so the table stops between messages.
int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[0], &byte, 1);
}

bool catchStopSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return false;
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0
        && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

// The addresses players can reach: the one bound, or this machine's in the
// order a phone at the table is likeliest to reach them.
QList<PlayerAddress> playerAddresses(const QHostAddress &bound)
{
    if (bound != QHostAddress::Any && bound != QHostAddress::AnyIPv4
        && bound != QHostAddress::AnyIPv6)
        return {PlayerAddress {bound, {}}};
    QList<PlayerAddress> found = orderPlayerAddresses(systemInterfaces());
    if (bound == QHostAddress::AnyIPv4) {
        found.removeIf([](const PlayerAddress &each) {
            return each.address.protocol() != QAbstractSocket::IPv4Protocol;
        });
        if (found.isEmpty())
            found << PlayerAddress {QHostAddress(QHostAddress::LocalHost), {}};
    }
    return found;
}

// The machine answers to HOSTNAME.local only where avahi-daemon publishes it.
bool answersToLocalName()
{
    return QFileInfo::exists(QStringLiteral("/run/avahi-daemon/pid"))
        && !QHostInfo::localHostName().isEmpty();
}

QString pageAddress(const QHostAddress &address, quint16 port, const QString &path)
{
    QHostAddress plain = address;
    plain.setScopeId({});
    const QString host = plain.protocol() == QAbstractSocket::IPv6Protocol
        ? QLatin1Char('[') + plain.toString() + QLatin1Char(']')
        : plain.toString();
    return QStringLiteral("http://%1:%2%3").arg(host).arg(port).arg(path);
}

// The address as a QR code of half blocks, two rows of modules a line, on a
// light quiet zone so phones read it from a dark terminal too.
void printQrCode(const QString &text, QTextStream &out)
{
    const auto code = qrModules(text);
    if (!code)
        return;
    const int quiet = 2;
    const int size = code->width + 2 * quiet;
    const auto dark = [&](int x, int y) { return code->at(x - quiet, y - quiet); };
    for (int y = 0; y < size; y += 2) {
        QString line;
        for (int x = 0; x < size; ++x) {
            const bool top = dark(x, y), bottom = dark(x, y + 1);
            line += top && bottom ? QChar(' ')
                : top             ? QChar(0x2584)
                : bottom          ? QChar(0x2580)
                                  : QChar(0x2588);
        }
        out << line << '\n';
    }
}

} // namespace

int tableCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("table"),
        QStringLiteral(
            "table MAP... [--port N] [--bind ADDRESS] [--reset] [--new-secret] [--open]"),
        QStringLiteral(
            "Serves the maps to the players at the table, in their browsers, revealed cell by "
            "cell\nby the game master (GM). Prints the players' addresses, the room's network "
            "first\nand with a QR code, and the GM's address with its secret, kept for this "
            "set of\nmaps in the user's state folder so that an open GM page reconnects after "
            "a\nrestart. Each map's reveal is kept beside it in MAP.table. Runs until Ctrl+C, "
            "SIGTERM\nor the GM ends it. For a room's own network only.\nPlayers take at most 64 "
            "connections, 8 "
            "from one device; the GM always has room.\nOne table at a time serves a map."),
        QStringLiteral("Exit status: 0 when stopped, 1 when a map or its saved state cannot be "
                       "used, another\ntable serves a map, or the address cannot be listened "
                       "on, 2 when the command line\nis wrong.\n"));
    const QCommandLineOption port(QStringLiteral("port"),
        QStringLiteral("Listen on port N (default %1; 0 chooses a free one).").arg(kDefaultPort),
        QStringLiteral("N"), QString::number(kDefaultPort));
    const QCommandLineOption bind(QStringLiteral("bind"),
        QStringLiteral("Listen on this address only, e.g. 127.0.0.1 for a screen driven by this "
                       "machine (default: every address)."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption reset(QStringLiteral("reset"),
        QStringLiteral("Start with every cell hidden, replacing the saved states on the first "
                       "change."));
    const QCommandLineOption newSecret(QStringLiteral("new-secret"),
        QStringLiteral("Make a new GM secret for these maps; the old GM address stops working."));
    line.addOption(port);
    line.addOption(newSecret);
    line.addOption(bind);
    line.addOption(reset);
    const QCommandLineOption open(QStringLiteral("open"),
        QStringLiteral("Open the GM's page in this computer's web browser; on maps a table "
                       "already serves, open that table's page instead. Without --port, a "
                       "free port is taken when 8135 is."));
    line.addOption(open);
    line.parser().addPositionalArgument(QStringLiteral("MAP"), QStringLiteral("Map files."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;
    const QStringList files = line.parser().positionalArguments();
    if (files.isEmpty())
        return line.usageError(err, QStringLiteral("no map file given"));
    const auto portNumber = mapexport::wholeNumber(line.parser().value(port), 0, 65535);
    if (!portNumber) {
        return line.usageError(err,
            QStringLiteral("the port must be a whole number from 0 to 65535, not '%1'")
                .arg(line.parser().value(port)));
    }
    QHostAddress address(QHostAddress::Any);
    if (line.parser().isSet(bind) && !address.setAddress(line.parser().value(bind))) {
        return line.usageError(
            err, QStringLiteral("'%1' is not an address").arg(line.parser().value(bind)));
    }

    auto opened = openTableMaps(files, line.parser().isSet(reset));
    if (const auto *problem = std::get_if<QString>(&opened)) {
        err << *problem << Qt::endl;
        return kFailure;
    }
    const bool openPage = line.parser().isSet(open);
    auto locked = MapLocks::take(files);
    if (const auto *problem = std::get_if<QString>(&locked)) {
        err << *problem << Qt::endl;
        // "Show at the table" on a map a table already serves: that table's
        // GM page, when it serves these very maps (its secret is theirs).
        const auto running = MapLocks::servingPort(files.front());
        if (openPage && running && QFileInfo::exists(secretFilePath(files))) {
            const auto kept = keptTableSecret(files, false);
            if (const auto *secret = std::get_if<QByteArray>(&kept)) {
                openInBrowser(QStringLiteral("http://127.0.0.1:%1/gm#k=%2")
                                  .arg(*running)
                                  .arg(QString::fromLatin1(*secret)),
                    err);
                return kSuccess;
            }
        }
        return kFailure;
    }
    MapLocks &locks = std::get<MapLocks>(locked);
    // What a save killed halfway left beside these maps goes; a save still
    // in progress, by another program, is too young to be touched.
    for (const QString &file : files)
        removeReplacementLeftovers(replacementFolder(tableFilePath(file)));
    TableFileWriter writer;
    Table table(std::move(std::get<std::vector<TableMap>>(opened)),
        [&writer](
            const TableMap &map, const MapState &state) { return writer.write(map.path, state); });
    const auto kept = keptTableSecret(files, line.parser().isSet(newSecret));
    if (const auto *problem = std::get_if<QString>(&kept)) {
        err << QStringLiteral("vellumor-map: table: cannot keep the GM's secret: ") << *problem
            << Qt::endl;
        return kFailure;
    }
    const QByteArray secret = std::get<QByteArray>(kept);
    TableServer server(table, secret);
    const QString namesPath = screenNamesPath(files);
    server.setScreenNames(readScreenNames(namesPath),
        [namesPath](const ScreenNameMap &names) { return writeScreenNames(namesPath, names); });
    // Started from a file manager, a table already on the usual port is no
    // reason to give up: any free port serves, as the page is opened for the GM.
    if (!server.listen(address, quint16(*portNumber))
        && !(openPage && !line.parser().isSet(port) && server.listen(address, 0))) {
        err << QStringLiteral("vellumor-map: table: cannot listen on %1 port %2: %3")
                   .arg(address.toString())
                   .arg(*portNumber)
                   .arg(server.errorString())
            << Qt::endl;
        return kFailure;
    }
    locks.announce(server.port());
    const QList<PlayerAddress> addresses = playerAddresses(address);
    const QString join = pageAddress(addresses.front().address, server.port(), QStringLiteral("/"));
    server.setJoinAddress(join);
    for (const PlayerAddress &each : addresses) {
        out << QStringLiteral("Players: ")
            << pageAddress(each.address, server.port(), QStringLiteral("/"));
        if (!each.note.isEmpty())
            out << QStringLiteral("  (") << each.note << QStringLiteral(", not for phones)");
        out << '\n';
    }
    if (address == QHostAddress::Any && answersToLocalName()) {
        out << QStringLiteral("Players: http://%1.local:%2/\n")
                   .arg(QHostInfo::localHostName())
                   .arg(server.port());
    }
    const QString gmAddress = pageAddress(addresses.front().address, server.port(),
        QStringLiteral("/gm#k=") + QString::fromLatin1(secret));
    out << QStringLiteral("GM (keep it to yourself): ") << gmAddress << '\n';
    printQrCode(join, out);
    out << QStringLiteral("Ctrl+C stops the table; the reveal is kept beside each map.")
        << Qt::endl;

    if (openPage)
        openInBrowser(gmAddress, err);

    if (!catchStopSignals()) {
        err << QStringLiteral("vellumor-map: table: cannot catch Ctrl+C") << Qt::endl;
        return kFailure;
    }
    QSocketNotifier stopNotifier(g_signalPipe[1], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &server, [&] {
        stopNotifier.setEnabled(false);
        server.stop();
    });
    // Once every client has its closing frame, or has had time enough for it.
    QObject::connect(&server, &TableServer::stopped, QCoreApplication::instance(),
        &QCoreApplication::quit, Qt::QueuedConnection);
    QCoreApplication::exec();
    out << QStringLiteral("The table has stopped.") << Qt::endl;
    return kSuccess;
}

} // namespace vellumor::maptool
