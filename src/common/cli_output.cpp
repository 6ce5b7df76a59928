#include "common/cli_output.h"

namespace ladya {

QByteArray formatListing(const QStringList& titles, const QVector<QStringList>& rows) {
    QByteArray out = titles.join(u'\t').toUtf8();
    out += '\n';
    for (const QStringList& row : rows) {
        out += row.join(u'\t').toUtf8();
        out += '\n';
    }
    return out;
}

} // namespace ladya
