#include "cli/OutputFile.h"

#include "document/MapFileReader.h"

#include <QSaveFile>
#include <QTextStream>

#include <variant>

namespace vellumor::maptool {

bool writeOutput(const QString &path, const QByteArray &bytes, QTextStream &err)
{
    QSaveFile output(path);
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size()
        || !output.commit()) {
        err << QStringLiteral("vellumor-map: cannot write %1: %2").arg(path, output.errorString())
            << Qt::endl;
        return false;
    }
    return true;
}

std::optional<MapCodes> readMapReporting(const QString &path, QTextStream &err)
{
    auto result = readMapFile(path);
    if (const auto *failure = std::get_if<MapReadFailure>(&result)) {
        err << QStringLiteral("vellumor-map: ");
        if (failure->line == 0)
            err << path << QStringLiteral(": ") << failure->problem;
        else
            err << QStringLiteral("%1:%2: %3").arg(path).arg(failure->line).arg(failure->problem);
        err << Qt::endl;
        return std::nullopt;
    }
    return std::get<MapCodes>(result);
}

} // namespace vellumor::maptool
