#include "framework/icons.h"

#include <QPixmap>

namespace afx {

QImage IconImage(const trovik::resources::IconResource& icon, const trovik::resources::IconImage& image) {
    QImage out(image.size, image.size, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int y = 0; y < image.size && y < static_cast<int>(image.rows.size()); ++y) {
        const std::string_view row = image.rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < image.size && x < static_cast<int>(row.size()); ++x) {
            for (const trovik::resources::IconPaletteEntry& colour : icon.palette) {
                if (colour.key != row[static_cast<std::size_t>(x)]) continue;
                out.setPixel(x, y, 0xFF000000u | colour.rgb);
                break;
            }
        }
    }
    return out;
}

QIcon IconToQIcon(HICON icon) {
    QIcon out;
    if (icon == nullptr) return out;
    for (const QImage& image : icon->images) out.addPixmap(QPixmap::fromImage(image));
    return out;
}

}  // namespace afx
