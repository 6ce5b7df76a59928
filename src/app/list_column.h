// A column of a multi-column list, shared by every window's controller.
#pragma once

#include <QString>

namespace ladya {

// Its title and designed width in pixels.
struct ListColumn {
    QString title;
    int width = 0;
};

} // namespace ladya
