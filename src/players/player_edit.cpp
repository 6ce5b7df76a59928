#include "players/player_edit.h"

#include "common/file_lock.h"
#include "common/text_file.h"
#include "players/player_selection.h"

namespace ladya {

PlayerEditController::PlayerEditController(PlayerDatabase& db, QString playersPath, int index)
    : m_db(db), m_path(std::move(playersPath)), m_index(index) {
    const QString& record = m_db.record(m_index);
    m_current = {recordField(record, 1), recordField(record, 2), recordField(record, 3),
                 recordField(record, 4)};
    m_identityEditable = recordField(record, 5) == NewPlayerMark;
}

PlayerEditInput PlayerEditController::normalized(const PlayerEditInput& edited) const {
    if (!m_identityEditable)
        return {m_current.name, m_current.city, edited.category, m_current.rating};
    QString rating = edited.rating.trimmed();
    if (isTypedRatingValid(rating))
        rating = QString::number(rating.toInt()); // "01500" is the rating 1500
    return {edited.name.trimmed().toUpper(), edited.city.trimmed().toUpper(), edited.category,
            rating};
}

bool PlayerEditController::saveEnabled(const PlayerEditInput& edited) const {
    const PlayerEditInput e = normalized(edited);
    const bool changed = e.name != m_current.name || e.city != m_current.city ||
                         e.category != m_current.category || e.rating != m_current.rating;
    return changed && e.name.size() >= PlayerEditTexts::MinNameLength && !nameTooLong(e) &&
           e.city.size() >= PlayerEditTexts::MinCityLength && isTypedRatingValid(e.rating);
}

bool PlayerEditController::nameTooLong(const PlayerEditInput& normalizedEdit) const {
    return normalizedEdit.name != m_current.name && !isTypedNameShortEnough(normalizedEdit.name);
}

QString PlayerEditController::problem(const PlayerEditInput& edited) const {
    const PlayerEditInput e = normalized(edited);
    return nameTooLong(e) ? typedNameProblem(e.name) : typedRatingProblem(e.rating);
}

Result<> PlayerEditController::save(const PlayerEditInput& edited) {
    const PlayerEditInput e = normalized(edited);
    if (nameTooLong(e))
        return Message{QStringLiteral("Ошибка"), typedNameProblem(e.name)};
    if (hasFieldBreakingCharacter(e.name) || hasFieldBreakingCharacter(e.city) ||
        hasFieldBreakingCharacter(e.category) || hasFieldBreakingCharacter(e.rating)) {
        return Message{QStringLiteral("Ошибка"),
                       QStringLiteral("Ф.И.О, страна/город, разряд и рейтинг не могут "
                                      "содержать символ \"|\", перевод строки\nи другие "
                                      "управляющие символы. Изменения не сохранены.")};
    }
    FileLock lock(m_path);
    if (!lock.tryLock(DatabaseLockWaitMs))
        return playersRewriteFailedMessage(m_path, lockedFileReason(lock));
    const QString old = m_db.record(m_index);
    // Another copy may have added players since this one read the file: the edit goes
    // into what the file holds now whenever the record still stands where it stood.
    if (std::optional<PlayerDatabase> fresh = loadPlayerDatabase(m_path);
        fresh && fresh->count() >= m_index && fresh->record(m_index) == old)
        m_db = std::move(*fresh);
    const QString line = QStringList{e.name,
                                     e.city,
                                     e.category.toUpper(),
                                     e.rating.toUpper(),
                                     recordField(old, 5),
                                     recordField(old, 6)}
                             .join(u'|');
    m_db.setRecord(m_index, line);
    if (const Result<> rewritten = rewritePlayerDatabase(m_db, m_path); !rewritten)
        return playersRewriteFailedMessage(m_path, rewritten.failure().text);
    m_current = {e.name, e.city, e.category.toUpper(), e.rating.toUpper()};
    return {};
}

} // namespace ladya
