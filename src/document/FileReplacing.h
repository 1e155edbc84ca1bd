#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

namespace vellumor {

// Not QSaveFile: its temporary file is named after the target ("castle.map.Ab12Cd"),
// so a crash would leave a file that every "*.map*" list shows as a map.
//
// Replaces the file at path with bytes in one step, or leaves it as it was and
// gives the reason. The new contents are written to a hidden file beside the
// target, flushed to the disk and renamed over it, so that a crash or a full
// disk leaves either the old file or the new one, never a mixture. The hidden
// file's name holds no ".map", so no file list of maps ever shows it. Like
// QSaveFile, it refuses to replace a file that this user may not write, although
// the rename alone would need only the folder to be writable; beyond QSaveFile,
// it refuses devices and pipes and also syncs the folder after the rename.
std::optional<QString> writeFileReplacing(const QString &path, const QByteArray &bytes);

// Prefix of that hidden file's name, which ends in 1 to 13 of [0-9a-z].
inline constexpr char kReplacementPrefix[] = ".vellumor-save-";

// Whether a file's name (without its folder) is exactly such a hidden file's.
bool isReplacementName(const QString &fileName);

// The folder where writeFileReplacing(path, ...) writes its hidden file.
QString replacementFolder(const QString &path);

// A save killed or cut off by a power failure leaves its hidden file behind.
// Removes from folder the regular files named exactly as those hidden files
// that nothing has written to for staleAfter (a save in progress, of another
// map or by another program, is far younger), and nothing else: no link, no
// folder, no other name. Gives the number removed.
int removeReplacementLeftovers(
    const QString &folder, std::chrono::seconds staleAfter = std::chrono::seconds(60));

} // namespace vellumor
