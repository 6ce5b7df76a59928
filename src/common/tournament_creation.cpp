#include "common/tournament_creation.h"

#include "common/text_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

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

std::optional<Message> discardParticipantsQuestion(int participantCount) {
    if (participantCount <= 0)
        return std::nullopt;
    return Message{QStringLiteral("Закрытие окна"),
                   QStringLiteral("Выбрано участников: %1. Турнир ещё не создан, и при закрытии "
                                  "окна список участников пропадёт.\nЗакрыть окно?")
                       .arg(participantCount)};
}

QString tournamentFileName(const QString& tournamentName, const QDate& creationDay,
                           const QString& extension) {
    QString name = tournamentName;
    name.replace(u' ', u'_');
    return name + QStringLiteral("_(") + formatDate(creationDay) + QStringLiteral(").") + extension;
}

QString tournamentNameOfFile(const QString& tournamentPath) {
    QString name = QFileInfo(tournamentPath).completeBaseName();
    static const QRegularExpression creationDay(QStringLiteral("_\\(\\d\\d\\.\\d\\d\\.\\d{4}\\)$"));
    name.remove(creationDay);
    name.replace(u'_', u' ');
    return name;
}

Result<> fileNameCheck(const QString& tournamentName) {
    // Blanks alone would make a file named by underscores and the date, which names no
    // tournament in the open-file dialog.
    if (tournamentName.trimmed().isEmpty())
        return Message{QStringLiteral("Ошибка создания файла"),
                       QCoreApplication::translate("TournamentCreation",
                                                   "Название турнира не может состоять из одних "
                                                   "пробелов.\nИзмените название турнира.")};
    if (!hasForbiddenFileNameCharacter(tournamentName))
        return {};
    // Every such character at once: the director should not find them one per attempt.
    QStringList characters;
    for (const QChar c : tournamentName) {
        if (!hasForbiddenFileNameCharacter(QString(c)))
            continue;
        // An invisible character is named by its code.
        const QString named =
            c.isPrint() ? QStringLiteral("«") + c + QStringLiteral("»")
                        : QStringLiteral("с кодом U+") +
                              QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0');
        if (!characters.contains(named))
            characters.append(named);
    }
    if (characters.size() == 1)
        return Message{QStringLiteral("Ошибка создания файла"),
                       QStringLiteral("Название турнира «%1» станет именем файла, а в имени "
                                      "файла не может быть символа %2.\nИзмените название "
                                      "турнира.")
                           .arg(tournamentName, characters.first())};
    return Message{QStringLiteral("Ошибка создания файла"),
                   QCoreApplication::translate("TournamentCreation",
                                               "Название турнира «%1» станет именем файла, а в "
                                               "имени файла не может быть символов %2.\n"
                                               "Измените название турнира.")
                       .arg(tournamentName, characters.join(QStringLiteral(", ")))};
}

Message tournamentExistsMessage(const QString& path) {
    return {QStringLiteral("Ошибка создания файла"),
            QStringLiteral("Турнир с таким названием уже создан сегодня:\n%1\n"
                           "Измените название турнира.")
                .arg(QFileInfo(path).fileName())};
}

} // namespace ladya
