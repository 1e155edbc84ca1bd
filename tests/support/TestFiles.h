#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace vellumor::testing {

// Whole-file reads and writes for test set-ups; a read of no file gives nothing.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace vellumor::testing
