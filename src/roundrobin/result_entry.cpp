#include "roundrobin/result_entry.h"

namespace ladya {

QString resultEntryLabel(const QString& entry) {
    static const QVector<std::pair<QString, QString>> meanings = {
        {QStringLiteral("1"), QStringLiteral("победа белых")},
        {QStringLiteral("0"), QStringLiteral("победа чёрных")},
        {QStringLiteral("%"), QStringLiteral("ничья")},
        {QStringLiteral("+"), QStringLiteral("неявка чёрных")},
        {QStringLiteral("-"), QStringLiteral("неявка белых")},
        {QStringLiteral("00"), QStringLiteral("неявка обоих")}};
    for (const auto& [code, meaning] : meanings) {
        if (code == entry)
            return code + QStringLiteral(" — ") + meaning;
    }
    return entry;
}

QStringList resultEntryLabels(const QStringList& entries) {
    QStringList labels;
    for (const QString& entry : entries)
        labels << resultEntryLabel(entry);
    return labels;
}

std::optional<QString> resultEntryForKey(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (key) {
    case Qt::Key_1:
        return QStringLiteral("1");
    case Qt::Key_0:
        return QStringLiteral("0");
    case Qt::Key_Equal:
        return QStringLiteral("%");
    case Qt::Key_Plus:
        return QStringLiteral("+");
    case Qt::Key_Minus:
        return QStringLiteral("-");
    case Qt::Key_Delete:
        return QString();
    default:
        return std::nullopt;
    }
}

} // namespace ladya
