#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace vellumor::table {

// The GM's names for the players' screens ("Anna's phone"), by the id each
// screen's page keeps, saved for the set of maps in the user's state folder
// beside the GM's secret: a name says who sits at the table, which is no one
// else's business.
using ScreenNameMap = std::map<QString, QString>;

QString screenNamesPath(const QStringList &mapPaths);
// The names saved; none when there is no file. A name or id that is not one
// is left out.
ScreenNameMap readScreenNames(const QString &path);
// The reason when they could not be written.
std::optional<QString> writeScreenNames(const QString &path, const ScreenNameMap &names);

} // namespace vellumor::table
