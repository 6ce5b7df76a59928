// The state, texts and rules of the dialog that edits one player record: the category
// may always change; name, city and rating only until the player's first rated
// tournament.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "players/player_database.h"

#include <QString>
#include <optional>

namespace ladya {

namespace PlayerEditTexts {
inline const QString Title = QStringLiteral("Редактирование данных участника");
inline constexpr int Width = 530;
inline constexpr int Height = 270;
inline const QString CurrentHeading = QStringLiteral("Информация об участнике");
inline const QString ChangeHeading = QStringLiteral("Изменение информации об участнике");
inline const QString NameLabel = QStringLiteral("Ф.И.О участника");
inline const QString CityLabel = QStringLiteral("Страна/Город");
inline const QString CategoryLabel = QStringLiteral("Разряд");
inline const QString RatingLabel = QStringLiteral("Рейтинг");
inline const QString SaveButton = QStringLiteral("Сохранить изменения");
inline constexpr int MinNameLength = 3;
inline constexpr int MinCityLength = 2;
} // namespace PlayerEditTexts

// The four texts of the edit fields.
struct PlayerEditInput {
    QString name;
    QString city;
    QString category;
    QString rating;
    bool operator==(const PlayerEditInput&) const = default;
};

class PlayerEditController {
public:
    // `index` is the 1-based database index of an existing record; `db` outlives the
    // controller.
    PlayerEditController(PlayerDatabase& db, QString playersPath, int index);

    int index() const { return m_index; }
    // The record's name, city, category and rating as they stand.
    const PlayerEditInput& current() const { return m_current; }
    // Name, city and rating may be edited only while the player has no rated tournament.
    bool identityEditable() const { return m_identityEditable; }

    // "Сохранить изменения": something changed (name and city compared upper-cased),
    // a name of at least 3 and a city of at least 2 characters, a changed name not over
    // the length limit (a record stored longer keeps its name), a rating in 500..3500.
    bool saveEnabled(const PlayerEditInput& edited) const;
    // What is shown beside the button: why the edited name (too long) or else the
    // rating cannot be saved; "" when neither stands in the way.
    QString problem(const PlayerEditInput& edited) const;

    // Writes the edited record and rewrites players.dat. nullopt when saved; otherwise
    // the message to show. Text that would break the file is refused with nothing
    // changed; when only the write fails the record in memory keeps the edit, so that
    // pressing the button again retries it.
    Result<> save(const PlayerEditInput& edited);

private:
    PlayerEditInput normalized(const PlayerEditInput& edited) const;
    // The edited name is new and longer than a new name may be.
    bool nameTooLong(const PlayerEditInput& normalizedEdit) const;

    PlayerDatabase& m_db;
    QString m_path;
    int m_index;
    PlayerEditInput m_current;
    bool m_identityEditable = false;
};

} // namespace ladya
