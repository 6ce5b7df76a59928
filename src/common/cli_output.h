// What one ladya-cli command produces. Output is collected whole so that an error
// never leaves half a listing on stdout.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

struct CliOutput {
    int status = 0; // 0 success, 2 error (bad arguments, unreadable file, out of range);
                    // check: 1 when a round is not the Dutch pairing
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

// Why `text` is no `what` ("round", "participant") of 1..count: not a number at all, or
// a number out of range.
QString numberArgumentError(const QString& what, const QString& text, int count);

// The -o file of `command` replaced atomically by `bytes`: success, or the failure
// naming the file and the reason.
CliOutput writeCliOutputFile(const QString& command, const QString& path, const QByteArray& bytes);

// An option a command takes: "-o" or "--name", with a value or as a flag.
struct CliOption {
    QString name;
    bool takesValue = true;
};

// A command's arguments split into operands and options. Options may stand anywhere
// after the command, each at most once; a value follows as the next argument or, for
// "--name", as "--name=VALUE", and is never empty (an empty -o would name no file, or
// the input itself). An argument starting "--" that is no option of the command is
// refused; any other is an operand.
struct CliArguments {
    QStringList operands;
    QHash<QString, QString> options; // name -> value ("" for a flag)
    QString error;                   // what is wrong, when not ok()

    bool ok() const { return error.isEmpty(); }
    bool has(const QString& name) const { return options.contains(name); }
    std::optional<QString> value(const QString& name) const {
        const auto it = options.constFind(name);
        return it == options.constEnd() ? std::nullopt : std::optional<QString>(*it);
    }
};
CliArguments parseCliArguments(const QStringList& args, qsizetype from,
                               const QVector<CliOption>& options);

} // namespace ladya
