#pragma once

#include "document/Standard.h"

#include <QImage>
#include <QString>
#include <QStringList>

class QTextStream;

namespace vellumor {
struct MapReadFailure;
}

namespace vellumor::maptool {

// "FILE:LINE: problem" for a fault on a line, "FILE: reason" otherwise, in the
// form editors and build tools turn into links.
QString located(const QString &file, const MapReadFailure &failure);

// Largest enlargement render offers: 5064 x 3704 pixels, about 75 MB while drawn.
inline constexpr int kMaxScale = 8;

// The bounds of render --size: a picture fitted into N x N pixels, as file
// managers ask for thumbnails (128 to 1024).
inline constexpr int kMinFitSize = 16;
inline constexpr int kMaxFitSize = 8192;

// Checks each map file as opening it in the editor would; one line per file.
int checkMaps(const QStringList &files, QTextStream &out);

struct RenderRequest
{
    QString mapFile;
    QString outputFile;
    int scale = 1;
    bool gridLines = true;
    // When set, the picture is shrunk to fit fitSize x fitSize, keeping its
    // proportions; a smaller one is left as it is.
    int fitSize = 0;
};

// The map as the map view shows it at one device pixel per logical pixel, each
// pixel then enlarged to a square of scale x scale.
QImage renderMap(const MapCodes &codes, bool gridLines, int scale);

int renderMapFile(const RenderRequest &request, QTextStream &err);

} // namespace vellumor::maptool
