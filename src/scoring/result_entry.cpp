#include "scoring/result_entry.h"

#include <QCoreApplication>

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

QString storedResultEntry(const QString& whiteCode, const QString& blackCode) {
    if (whiteCode == QStringLiteral("-") && blackCode == QStringLiteral("-"))
        return QStringLiteral("00");
    return whiteCode;
}

QString byeProposal(bool whiteIsBye, bool blackIsBye) {
    if (whiteIsBye == blackIsBye)
        return QString();
    return blackIsBye ? QStringLiteral("+") : QStringLiteral("-");
}

QString byeProposalHint(const QString& proposal) {
    if (proposal.isEmpty())
        return QString();
    return QCoreApplication::translate("ResultEntry",
                                       "Свободный тур: «%1» даёт участнику очко без партии")
        .arg(proposal);
}

namespace {

// The game list's writing of an entry: "1-0", "%-%", "---" …
QString resultColumnText(const QString& entry) {
    if (entry == QStringLiteral("00"))
        return QStringLiteral("---");
    static const QVector<std::pair<QString, QString>> mirrors = {
        {QStringLiteral("1"), QStringLiteral("0")},
        {QStringLiteral("0"), QStringLiteral("1")},
        {QStringLiteral("%"), QStringLiteral("%")},
        {QStringLiteral("+"), QStringLiteral("-")},
        {QStringLiteral("-"), QStringLiteral("+")}};
    for (const auto& [code, mirror] : mirrors) {
        if (code == entry)
            return code + u'-' + mirror;
    }
    return entry;
}

} // namespace

std::optional<Message> replaceResultQuestion(const QString& white, const QString& black,
                                             const QString& stored, const QString& entry) {
    if (stored.isEmpty() || stored == entry)
        return std::nullopt;
    const QString title = QCoreApplication::translate("ResultEntry", "Замена результата");
    if (entry.isEmpty()) {
        return Message{title, QCoreApplication::translate("ResultEntry",
                                                          "Удалить результат %1 партии %2 - %3?")
                                  .arg(resultColumnText(stored), white, black)};
    }
    return Message{
        title, QCoreApplication::translate("ResultEntry", "Партия %1 - %2 уже имеет результат %3.\n"
                                                          "Заменить его на %4?")
                   .arg(white, black, resultColumnText(stored), resultColumnText(entry))};
}

} // namespace ladya
