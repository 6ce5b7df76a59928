#include "players/player_database.h"

#include "common/file_lock.h"
#include "common/tournament_state.h"

namespace ladya {

QString recordField(QStringView line, int k) {
    qsizetype start = 0;
    for (int field = 1; field < k; ++field) {
        const qsizetype bar = line.indexOf(u'|', start);
        if (bar < 0)
            return QString();
        start = bar + 1;
    }
    const qsizetype end = line.indexOf(u'|', start);
    return (end < 0 ? line.sliced(start) : line.sliced(start, end - start)).toString();
}

QStringList PlayerDatabase::fieldOfEach(int k) const {
    QStringList values;
    values.reserve(m_records.size());
    for (const QString& line : m_records)
        values.append(recordField(line, k));
    return values;
}

QVector<int> PlayerDatabase::find(const QString& name, const QString& city) const {
    QVector<int> found;
    for (int i = 0; i < m_records.size(); ++i) {
        const QString& line = m_records.at(i);
        if (recordField(line, 1) == name && recordField(line, 2) == city)
            found.append(i + 1);
    }
    return found;
}

Message playersLoadFailedMessage(const QString& path, const QString& reason) {
    Message message{QStringLiteral("Ошибка"),
                    QStringLiteral("Не удалось открыть файл с данными - ") + FileNames::Players +
                        QStringLiteral("\nЛибо файл открыт в другой программе, либо отсутствует!")};
    if (!path.isEmpty() || !reason.isEmpty())
        message.text += u'\n' + fileFailureDetail(path, reason);
    return message;
}

Message playersRewriteFailedMessage(const QString& path, const QString& reason) {
    Message message{QStringLiteral("Ошибка"), QStringLiteral("Не удалось записать данные в файл.")};
    if (!path.isEmpty() || !reason.isEmpty())
        message.text += u'\n' + fileFailureDetail(path, reason);
    return message;
}

std::optional<PlayerDatabase> loadPlayerDatabase(const QString& path, QString* error) {
    std::optional<QStringList> lines = readTextLines(path, error);
    if (!lines)
        return std::nullopt;
    return PlayerDatabase(std::move(*lines));
}

Result<> rewritePlayerDatabase(const PlayerDatabase& db, const QString& path) {
    FileLock lock(path);
    if (!lock.tryLock(DatabaseLockWaitMs))
        return fileFailure(lockedFileReason(lock));
    return writeTextLinesAtomic(path, db.records());
}

Result<> appendHistoryLines(const QString& path, const QStringList& lines) {
    FileLock lock(path);
    if (!lock.tryLock(DatabaseLockWaitMs))
        return fileFailure(lockedFileReason(lock));
    return appendTextLines(path, lines);
}

namespace {

Message appendFailedMessage(const QString& path, const QString& reason) {
    return {QStringLiteral("Ошибка"),
            QStringLiteral("Не удалось открыть файл с данными - ") + FileNames::Players +
                QStringLiteral("\nВозможно файл открыт в другой программе, или отсутствует!\n") +
                fileFailureDetail(path, reason)};
}

} // namespace

AddPlayerResult addPlayerRecord(PlayerDatabase& db, const QString& path,
                                const NewPlayerInput& input, const QDate& today) {
    AddPlayerResult result;
    result.typed = {input.name.toUpper(), input.city.toUpper(), input.category.toUpper(),
                    input.rating.toUpper()};
    const NewPlayerInput& p = result.typed;

    if (hasFieldBreakingCharacter(p.name) || hasFieldBreakingCharacter(p.city) ||
        hasFieldBreakingCharacter(p.category) || hasFieldBreakingCharacter(p.rating)) {
        result.outcome = AddPlayerResult::Outcome::Refused;
        result.message = {QStringLiteral("Ошибка"),
                          QStringLiteral("Ф.И.О, страна/город, разряд и рейтинг не могут "
                                         "содержать символ \"|\", перевод строки\nи другие "
                                         "управляющие символы. Участник не добавлен.")};
        return result;
    }
    if (!db.find(p.name, p.city).isEmpty()) {
        result.outcome = AddPlayerResult::Outcome::Duplicate;
        result.message = {QStringLiteral("Повторяющаяся запись"),
                          QStringLiteral("Данные этого участника уже есть!\nВыберите его в базе.")};
        return result;
    }
    if (db.count() >= Limits::PlayerDatabaseRecords) {
        result.outcome = AddPlayerResult::Outcome::Refused;
        result.message = {QStringLiteral("Ошибка"),
                          QStringLiteral("В базе уже %1 записей - это наибольшее число.\n"
                                         "Новый участник не добавлен.")
                              .arg(Limits::PlayerDatabaseRecords)};
        return result;
    }

    // The new line goes after the file's own bytes, which may differ from memory if
    // the file was changed meanwhile.
    const QString line = p.name + u'|' + p.city + u'|' + p.category + u'|' + p.rating + u'|' +
                         NewPlayerMark + u'|' + formatDate(today);
    FileLock lock(path);
    if (!lock.tryLock(DatabaseLockWaitMs)) {
        result.outcome = AddPlayerResult::Outcome::WriteFailed;
        result.message = appendFailedMessage(path, lockedFileReason(lock));
        return result;
    }
    if (const Result<> appended = appendTextLines(path, {line}); !appended) {
        result.outcome = AddPlayerResult::Outcome::WriteFailed;
        result.message = appendFailedMessage(path, appended.failure().text);
        return result;
    }

    std::optional<PlayerDatabase> reloaded = loadPlayerDatabase(path);
    if (!reloaded) {
        result.outcome = AddPlayerResult::Outcome::ReloadFailed;
        result.message = playersLoadFailedMessage();
        return result;
    }
    db = std::move(*reloaded);
    result.message = {QStringLiteral("Подтверждение"),
                      QStringLiteral("Новый участник успешно добавлен в базу.")};
    return result;
}

} // namespace ladya
