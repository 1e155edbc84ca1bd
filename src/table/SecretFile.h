#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <variant>

namespace vellumor::table {

// Where the GM's secret for this set of maps is kept: in the user's state
// folder ($XDG_STATE_HOME, by default ~/.local/state), under vellumor/, named
// by a hash of the maps' canonical paths in any order. Never beside the
// maps, which may sit in a folder others read.
QString secretFilePath(const QStringList &mapPaths);
// A file kept the same way for this set of maps, ending in suffix.
QString keptTableFilePath(const QStringList &mapPaths, const QString &suffix);

// The secret kept for these maps, or a new one (always with renew) written
// there first, readable by the user alone. A file that is not a secret, or
// that others may read, is replaced. The reason when it cannot be kept: a
// secret that does not survive the restart would lock the GM out unseen.
std::variant<QByteArray, QString> keptTableSecret(const QStringList &mapPaths, bool renew);

} // namespace vellumor::table
