// What one ladya-cli command produces. Output is collected whole so that an error
// never leaves half a listing on stdout.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

struct CliOutput {
    int status = 0; // 0 success, 2 error (bad arguments, unreadable file, out of range)
    QByteArray out; // UTF-8 for stdout
    QByteArray err; // UTF-8 for stderr

    static CliOutput failure(const QString& message) {
        return {2, QByteArray(), (message + u'\n').toUtf8()};
    }
};

// A listing in the fixed exchange format: UTF-8, one line per row ending "\n",
// cells joined by a TAB, the column titles first.
QByteArray formatListing(const QStringList& titles, const QVector<QStringList>& rows);

// A round or participant number as typed: plain decimal digits and nothing else (no
// sign, no blanks), at most nine of them; nothing otherwise.
std::optional<int> parseNumberArgument(const QString& text);

} // namespace ladya
