#include "players/completion.h"

#include "common/file_lock.h"
#include "common/text_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace ladya {

QString tournamentLabel(const QString& tournamentPath) {
    const QString name = QFileInfo(tournamentPath).fileName();
    return name.left(qMax(0, name.size() - 4));
}

QString historyLine(const Participant& p, const QString& label, const QString& dates) {
    return p.name + u'|' + p.city + u'|' + p.category + u'|' + p.rating + u'|' + label + u'|' +
           dates;
}

QString completedRecord(const Participant& p, int newRating, const QString& label,
                        const QString& dates) {
    return p.name + u'|' + p.city + u'|' + p.category + u'|' + QString::number(newRating) + u'|' +
           label + u'|' + dates;
}

namespace {

Message failure(const QString& text) {
    return {QStringLiteral("Ошибка"), text + QStringLiteral("\nТурнир не завершён.")};
}

QString historyKey(const QString& name, const QString& city, const QString& label) {
    return name + u'|' + city + u'|' + label;
}

// The texts this file adds to the program, for Qt's translation tools.
QString translated(const char* text) {
    return QCoreApplication::translate("Completion", text);
}

} // namespace

Result<> endDateCheck(const QString& startDate, const QString& endDate) {
    const QDate start = parseDate(startDate);
    const QDate end = parseDate(endDate);
    if (!start.isValid() || !end.isValid() || end >= start)
        return {};
    return failure(translated("Дата завершения турнира %1 раньше даты его начала %2.\n"
                              "Укажите дату не раньше начала турнира.")
                       .arg(endDate, startDate));
}

std::optional<Message> futureEndDateQuestion(const QString& endDate, const QDate& today) {
    const QDate end = parseDate(endDate);
    if (!end.isValid() || !today.isValid() || end <= today)
        return std::nullopt;
    return Message{QStringLiteral("Завершение турнира"),
                   translated("Дата завершения турнира %1 ещё не наступила (сегодня %2).\n"
                              "Завершить турнир этой датой?")
                       .arg(endDate, formatDate(today))};
}

Result<> completeTournament(const CompletionInput& input, PlayerDatabase& db,
                            const QString& playersPath, const QString& historyPath,
                            const SaveWithEndDate& saveTournament) {
    if (Result<> dated = endDateCheck(input.startDate, input.endDate); !dated)
        return dated;
    const QString label = tournamentLabel(input.tournamentPath);
    const QString dates = dateRange(input.startDate, input.endDate);

    // Read, change and rewrite as one step: another copy of the program rewriting the
    // database in between would lose its change or this one.
    FileLock lock(playersPath);
    if (!lock.tryLock(DatabaseLockWaitMs)) {
        return failure(QStringLiteral("Не удалось изменить файл %1: %2.")
                           .arg(FileNames::Players, lockedFileReason(lock)));
    }
    // The database is read before anything is written: rewriting it from a failed read
    // would wipe the club's records.
    QString reason;
    std::optional<PlayerDatabase> fresh = loadPlayerDatabase(playersPath, &reason);
    if (!fresh) {
        return failure(QStringLiteral("Не удалось прочитать файл с данными - ") +
                       FileNames::Players +
                       QStringLiteral("\nЛибо файл открыт в другой программе, либо "
                                      "отсутствует! База игроков не изменена.\n") +
                       fileFailureDetail(playersPath, reason));
    }

    // A completion repeated after a failure must not write the same history twice.
    QSet<QString> alreadyWritten;
    if (QFile::exists(historyPath)) {
        std::optional<QStringList> history = readTextLines(historyPath, &reason);
        if (!history) {
            return failure(QStringLiteral("Не удалось прочитать файл истории "
                                          "рейтингов - ") +
                           FileNames::History + u'\n' + fileFailureDetail(historyPath, reason));
        }
        for (const QString& line : *history) {
            if (recordField(line, 5) == label)
                alreadyWritten.insert(
                    historyKey(recordField(line, 1), recordField(line, 2), label));
        }
    }
    QStringList historyLines;
    for (const Participant& p : input.participants) {
        if (!input.historyForByeRow && p.name == ByeText)
            continue;
        if (alreadyWritten.contains(historyKey(p.name, p.city, label)))
            continue;
        historyLines.append(historyLine(p, label, dates));
    }
    if (!historyLines.isEmpty()) {
        if (const Result<> appended = appendHistoryLines(historyPath, historyLines); !appended) {
            return failure(QStringLiteral("Не удалось записать историю рейтингов в файл ") +
                           FileNames::History + u'\n' +
                           fileFailureDetail(historyPath, appended.failure().text));
        }
    }

    // Every record of a participant takes the new rating; the others keep text and place.
    for (int i = 1; i <= fresh->count(); ++i) {
        const QString name = recordField(fresh->record(i), 1);
        const QString city = recordField(fresh->record(i), 2);
        for (int k = 0; k < input.participants.size(); ++k) {
            const Participant& p = input.participants.at(k);
            if (p.name == name && p.city == city)
                fresh->setRecord(i, completedRecord(p, input.newRatings.value(k), label, dates));
        }
    }
    if (const Result<> rewritten = rewritePlayerDatabase(*fresh, playersPath); !rewritten) {
        return failure(QStringLiteral("Не удалось записать данные в файл ") + FileNames::Players +
                       QStringLiteral(".\nПовторите завершение, когда файл станет "
                                      "доступен.\n") +
                       fileFailureDetail(playersPath, rewritten.failure().text));
    }
    db = std::move(*fresh);

    return saveTournament(input.endDate);
}

} // namespace ladya
