#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vellumor {

// Replaces the file at path with bytes in one step, or leaves it as it was and
// gives the reason. The new contents are written to a hidden file beside the
// target, flushed to the disk and renamed over it, so that a crash or a full
// disk leaves either the old file or the new one, never a mixture. The hidden
// file's name holds no ".map", so no file list of maps ever shows it.
std::optional<QString> writeFileReplacing(const QString &path, const QByteArray &bytes);

// Prefix of that hidden file's name.
inline constexpr char kReplacementPrefix[] = ".vellumor-save-";

} // namespace vellumor
