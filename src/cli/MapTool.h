#pragma once

#include <QStringList>

class QTextStream;

namespace vellumor::maptool {

// Exit statuses of vellumor-map.
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1; // a map is invalid, or a file could not be read or written
inline constexpr int kUsageError = 2;

// Runs one vellumor-map command line (without the program name): what it
// reports goes to out, what went wrong to err. Returns the exit status.
int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

// Whether the command line (without the program name) writes something that
// sets text, such as a printed map: that needs the fonts of a GUI application,
// where every other command runs as a core application.
bool needsGuiApplication(const QStringList &arguments);

} // namespace vellumor::maptool
