// Writes icon 128 as PNG files for a desktop's icon theme:
//   make_icon_png OUTPUT_DIR SIZE...
// Each size comes from the icon's nearest image, scaled by whole pixels so
// that the drawing stays sharp.

#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "framework/icons.h"
#include "resources/resource.h"

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icon_png OUTPUT_DIR SIZE...\n");
        return 2;
    }
    const trovik::resources::IconResource* icon = trovik::resources::FindIcon(IDR_MAINFRAME);
    if (icon == nullptr || icon->images.empty()) return 1;
    const QDir outputDir(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        // The largest image that fits the size a whole number of times.
        const trovik::resources::IconImage* best = &icon->images.back();
        for (const auto& image : icon->images)
            if (size % image.size == 0 && image.size > best->size) best = &image;
        const QImage picture = afx::IconImage(*icon, *best).scaled(size, size, Qt::IgnoreAspectRatio,
                                                                     Qt::FastTransformation);
        const QString path = outputDir.filePath(QStringLiteral("trovik-%1.png").arg(size));
        if (!picture.save(path, "PNG")) {
            std::fprintf(stderr, "make_icon_png: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
