#pragma once

// Icons drawn as data in resources/, turned into Qt's images.

#include <QIcon>
#include <QImage>
#include <vector>

#include "framework/afxwin.h"
#include "resources/resource_data.h"

struct AfxIcon {
    std::vector<QImage> images;  // largest first
};

namespace afx {

QImage IconImage(const trovik::resources::IconResource& icon, const trovik::resources::IconImage& image);
QIcon IconToQIcon(HICON icon);

}  // namespace afx
