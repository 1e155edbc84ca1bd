// Writes the program's artwork into resources/ from the sources kept there.
//   vellumor-artgen symbols <art dir> <resources dir>   the 64 symbol bitmaps
//   vellumor-artgen program <art dir> <resources dir>   icons, toolbar, emblem, logo
//   vellumor-artgen sheet <resources dir> <png file>    overview of the stored symbols
//   vellumor-artgen all <repository dir>                all three at their usual places
#include "artgen/ArtSource.h"
#include "artgen/ProgramArt.h"
#include "artgen/SymbolFiles.h"
#include "artgen/SymbolSheet.h"
#include "artgen/ToolbarArt.h"
#include "pictures/Artwork.h"
#include "pictures/BmpImage.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

using namespace vellumor;

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

bool fail(const QString &message)
{
    err() << "vellumor-artgen: " << message << Qt::endl;
    return false;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(path + QStringLiteral(": ") + file.errorString());
    return true;
}

std::optional<art::Artwork> readArt(const QString &artDir, const QStringList &files)
{
    QList<art::Source> sources;
    for (const QString &name : files) {
        QFile file(QDir(artDir).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            fail(file.fileName() + QStringLiteral(": ") + file.errorString());
            return std::nullopt;
        }
        sources.append({name, file.readAll()});
    }
    auto result = art::parse(sources);
    if (!result.artwork)
        fail(result.error);
    return result.artwork;
}

bool writeSymbols(const QString &artDir, const QString &resourcesDir)
{
    const auto artwork = readArt(artDir, art::symbolSourceFiles());
    if (!artwork)
        return false;
    const auto symbols = art::symbolPictures(*artwork);
    if (!symbols.pictures)
        return fail(symbols.error);
    for (int code = 1; code <= 64; ++code) {
        const QString path = QDir(resourcesDir).filePath(symbolPicturePath(code));
        if (!writeFile(path, bmp::encode((*symbols.pictures)[std::size_t(code)])))
            return false;
    }
    return true;
}

bool writeProgramArt(const QString &artDir, const QString &resourcesDir)
{
    const auto artwork = readArt(artDir, {art::toolbarSourceFile()});
    if (!artwork)
        return false;
    const auto toolbar = art::toolbarPictures(*artwork);
    if (!toolbar.files)
        return fail(toolbar.error);
    for (const art::ToolbarFile &file : *toolbar.files) {
        if (!writeFile(QDir(resourcesDir).filePath(file.path), bmp::encode(file.image)))
            return false;
    }
    // The icon of map files shows the symbols as they are stored.
    const auto symbols = art::readStoredSymbols(resourcesDir);
    if (!symbols.pictures)
        return fail(symbols.error);
    for (const art::ProgramFile &file :
        art::programPictures() + art::mapFileIcons(*symbols.pictures)) {
        if (!writeFile(QDir(resourcesDir).filePath(file.path), file.png))
            return false;
    }
    return true;
}

bool writeSheet(const QString &resourcesDir, const QString &target)
{
    const auto stored = art::readStoredSymbols(resourcesDir);
    if (!stored.pictures)
        return fail(stored.error);
    const QImage sheet = art::symbolSheet(*stored.pictures);
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (!sheet.save(target, "PNG"))
        return fail(target + QStringLiteral(": cannot write"));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    bool ok = false;
    if (command == QLatin1String("symbols") && args.size() == 3) {
        ok = writeSymbols(args[1], args[2]);
    } else if (command == QLatin1String("program") && args.size() == 3) {
        ok = writeProgramArt(args[1], args[2]);
    } else if (command == QLatin1String("sheet") && args.size() == 3) {
        ok = writeSheet(args[1], args[2]);
    } else if (command == QLatin1String("all") && args.size() == 2) {
        const QDir root(args[1]);
        const QString resources = root.filePath(QStringLiteral("resources"));
        const QString artDir = root.filePath(QStringLiteral("resources/art"));
        ok = writeSymbols(artDir, resources) && writeProgramArt(artDir, resources)
            && writeSheet(resources, root.filePath(QStringLiteral("docs/symbols.png")));
    } else {
        err() << "usage: vellumor-artgen symbols <art dir> <resources dir>\n"
                 "       vellumor-artgen program <art dir> <resources dir>\n"
                 "       vellumor-artgen sheet <resources dir> <png file>\n"
                 "       vellumor-artgen all <repository dir>"
              << Qt::endl;
        return 2;
    }
    return ok ? 0 : 1;
}
