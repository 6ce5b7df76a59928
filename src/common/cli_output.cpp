#include "common/cli_output.h"

#include "common/text_file.h"

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

QString numberArgumentError(const QString& what, const QString& text, int count) {
    if (!parseNumberArgument(text))
        return QStringLiteral("%1 '%2' is not a number").arg(what, text);
    return QStringLiteral("%1 '%2' is out of range (1..%3)")
        .arg(what, text, QString::number(count));
}

CliOutput writeCliOutputFile(const QString& command, const QString& path, const QByteArray& bytes) {
    const Result<> written = writeFileAtomic(path, bytes);
    if (!written)
        return CliOutput::failure(QStringLiteral("ladya-cli: %1: cannot write %2: %3")
                                      .arg(command, path, written.failure().text));
    return {};
}

CliArguments parseCliArguments(const QStringList& args, qsizetype from,
                               const QVector<CliOption>& options) {
    CliArguments parsed;
    const auto find = [&options](const QString& name) -> const CliOption* {
        for (const CliOption& option : options) {
            if (option.name == name)
                return &option;
        }
        return nullptr;
    };
    for (qsizetype i = from; i < args.size(); ++i) {
        QString name = args.at(i);
        std::optional<QString> value;
        const qsizetype eq = name.indexOf(u'=');
        if (name.startsWith(QStringLiteral("--")) && eq > 2) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        }
        const CliOption* option = find(name);
        if (!option) {
            if (name.startsWith(QStringLiteral("--"))) {
                parsed.error = QStringLiteral("unknown option '%1'").arg(args.at(i));
                return parsed;
            }
            parsed.operands << args.at(i);
            continue;
        }
        if (parsed.options.contains(name)) {
            parsed.error = QStringLiteral("option %1 given twice").arg(name);
            return parsed;
        }
        if (!option->takesValue) {
            if (value) {
                parsed.error = QStringLiteral("option %1 takes no value").arg(name);
                return parsed;
            }
            parsed.options.insert(name, QString());
            continue;
        }
        // "-o --pairs …" lacks the value rather than writing to a file named "--pairs".
        if (!value && i + 1 < args.size() && !find(args.at(i + 1)))
            value = args.at(++i);
        if (!value || value->isEmpty()) {
            parsed.error = QStringLiteral("option %1 needs a value").arg(name);
            return parsed;
        }
        parsed.options.insert(name, *value);
    }
    return parsed;
}

} // namespace ladya
