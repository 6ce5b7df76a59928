#include "common/tournament_creation.h"

#include "common/text_file.h"

#include <QFileInfo>

namespace ladya {

QVector<ListColumn> creationParticipantColumns() {
    return {{QStringLiteral("№"), 30},
            {QStringLiteral("Ф.И.О участника"), 190},
            {QStringLiteral("Страна/Город"), 150},
            {QStringLiteral("Разряд"), 70},
            {QStringLiteral("Рейтинг"), 70}};
}

Message duplicateParticipantMessage() {
    return {QStringLiteral("Повторный ввод участника"),
            QStringLiteral("Этот участник уже занесен в список турнира")};
}

QString tournamentFileName(const QString& tournamentName, const QDate& creationDay,
                           const QString& extension) {
    QString name = tournamentName;
    name.replace(u' ', u'_');
    return name + QStringLiteral("_(") + formatDate(creationDay) + QStringLiteral(").") + extension;
}

Message tournamentExistsMessage(const QString& path) {
    return {QStringLiteral("Ошибка создания файла"),
            QStringLiteral("Турнир с таким названием уже создан сегодня:\n%1\n"
                           "Измените название турнира.")
                .arg(QFileInfo(path).fileName())};
}

} // namespace ladya
