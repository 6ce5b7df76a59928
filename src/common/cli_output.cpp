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

std::optional<int> parseNumberArgument(const QString& text) {
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return text.toInt();
}

} // namespace ladya
