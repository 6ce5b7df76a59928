#include "common/print_document.h"

#include "common/tournament_state.h"

#include <QStringList>

namespace ladya {

QString printedCellText(const QString& text) {
    const QString pairSeparator = QStringLiteral(" - ");
    QStringList parts = text.split(pairSeparator);
    bool cut = false;
    for (QString& part : parts) {
        if (part.size() <= Limits::PlayerNameLength)
            continue;
        part = part.first(Limits::PlayerNameLength - 1) + QChar(0x2026);
        cut = true;
    }
    return cut ? parts.join(pairSeparator) : text;
}

} // namespace ladya
