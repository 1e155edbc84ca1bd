#pragma once

#include <QByteArrayView>
#include <QString>

namespace vellumor::fuzzing {

// What must hold for any bytes that reach the table's HTTP front as a
// request's head: it is answered with one of the front's statuses, pages only
// for this machine's own host, an upgrade only for a GET of /ws, and the
// answer always carries the security headers. Returns what did not hold.
QString checkTableRequest(QByteArrayView bytes);

// What must hold for any bytes a GM sends, one message per line, carried out on
// a table in memory: each is read or refused without harm, and after each the
// state holds only cells of the map, a revision that never went back and a
// frame inside the map. Returns what did not hold.
QString checkGmMessages(QByteArrayView bytes);

} // namespace vellumor::fuzzing
