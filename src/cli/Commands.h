#pragma once

#include <QStringList>

class QTextStream;

// Each command of vellumor-map, given the arguments after its name.
namespace vellumor::maptool {

int checkCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int renderCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int exportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int importCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int diffCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int generateCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int lintCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int fixCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int sightCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
int tableCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace vellumor::maptool
