// The club's player database (players.dat) and rating history (history_players.dat).
#pragma once

#include "common/message.h"
#include "common/text_file.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

// Field k (1..6) of a "|"-separated record line; a field beyond the last "|" is "".
QString recordField(QStringView line, int k);

inline const QString NewPlayerMark = QStringLiteral("Новый участник");

// The in-memory copy of players.dat: each line kept whole, addressed 1-based by its
// line number in the file (the "№" the selection list shows).
class PlayerDatabase {
public:
    PlayerDatabase() = default;
    explicit PlayerDatabase(QStringList records) : m_records(std::move(records)) {}

    int count() const { return static_cast<int>(m_records.size()); }
    const QString& record(int index) const { return m_records.at(index - 1); }
    void setRecord(int index, const QString& line) { m_records[index - 1] = line; }
    const QStringList& records() const { return m_records; }

    // Field k (1..6) of every record, in record order.
    QStringList fieldOfEach(int k) const;

    // Every record index (1-based, ascending) whose name and city equal the given texts.
    QVector<int> find(const QString& name, const QString& city) const;

private:
    QStringList m_records;
};

// The messages of the player files, as the user sees them.
// The load failure names the file and the reason when given (a file that is there but
// cannot be used).
Message playersLoadFailedMessage(const QString& path = QString(),
                                 const QString& reason = QString());
// The rewrite failure names the file and the system's reason when given.
Message playersRewriteFailedMessage(const QString& path = QString(),
                                    const QString& reason = QString());

// Reads players.dat whole. nullopt when it cannot be opened or is not UTF-8 text, the
// reason in `error` (optional); nothing is dropped even beyond the 10,000 records the
// lists are sized for.
std::optional<PlayerDatabase> loadPlayerDatabase(const QString& path, QString* error = nullptr);

// Rewrites players.dat from memory, atomically.
Result<> rewritePlayerDatabase(const PlayerDatabase& db, const QString& path);

// Appends history lines, creating the file when missing.
Result<> appendHistoryLines(const QString& path, const QStringList& lines);

// The four texts typed for a new player.
struct NewPlayerInput {
    QString name;
    QString city;
    QString category;
    QString rating;
};

struct AddPlayerResult {
    enum class Outcome { Added, Duplicate, Refused, WriteFailed, ReloadFailed };
    Outcome outcome = Outcome::Added;
    NewPlayerInput typed; // the inputs upper-cased, to put back into the fields
    Message message;      // always set: the confirmation or the reason
    bool added() const { return outcome == Outcome::Added; }
};

// Adds a player: upper-cases the inputs, refuses a duplicate (name, city), text that
// would break the file, and a record beyond the database limit; otherwise adds the
// new line to the file (atomically, its previous bytes kept) and reloads `db` from it.
AddPlayerResult addPlayerRecord(PlayerDatabase& db, const QString& path,
                                const NewPlayerInput& input, const QDate& today);

} // namespace ladya
