// The club rating list: the members named in players_club.dat, ranked by the rating
// the player database holds for them, and one member's rating over the finished
// tournaments read from the rating history.
#pragma once

#include "common/list_column.h"
#include "common/message.h"
#include "common/result.h"
#include "players/player_database.h"
#include "players/player_selection.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

namespace ClubListTexts {
inline const QString Title = QStringLiteral("Рейтинг лист клубных игроков");
inline constexpr int Width = 470;
inline constexpr int Height = 700;
inline const QString AddButton = QStringLiteral("Добавить в список");
inline const QString RemoveButton = QStringLiteral("Удалить из списка");
inline const QString ReportButton = QStringLiteral("Сохранить список в файл file.html");
inline const QString RatingChangeButton = QStringLiteral("Таблица изменения рейтинга");
inline const QString RatingChangeReportButton = QStringLiteral("Сохранить в файл file.html");
} // namespace ClubListTexts

// Columns of the club list: "№", "ФИО", "Рейтинг", "Дата", "Город".
const QVector<ListColumn>& clubListColumns();
// Columns of one member's rating changes: "ФИО", "Разряд", "Рейтинг", "Дата".
const QVector<ListColumn>& ratingChangeColumns();

// The first / last `count` characters (code points, so a character outside the basic
// plane is never cut in half) of the text; the whole text when it is shorter.
QString firstCharacters(QStringView text, int count);
QString lastCharacters(QStringView text, int count);

// A member line is "name|city".
QString memberName(QStringView memberLine);
QString memberCity(QStringView memberLine);

// The list rows: for each member line in file order and each database record of equal
// name and city in index order, (name, rating, last 10 characters of field 6, city);
// ordered by rating and numbered from 1 in the first column.
QVector<QStringList> clubListRows(const QStringList& memberLines, const PlayerDatabase& db);

// Orders the rows by the integer value of their column `ratingColumn`, highest first,
// by the club list's own exchange procedure: for every row i and within it every row
// k, rows i and k change places when i's rating is greater. Rows of equal rating end
// in the order this procedure leaves them, which the printed lists rely on.
void orderByRating(QVector<QStringList>& rows, int ratingColumn);

// One member's rating over the tournaments: each history line of that name and city in
// file order (name, category, rating before the tournament, first 10 characters of
// field 6: the start date), then each database record of that name and city (name,
// category, current rating, last 10 characters of field 6).
QVector<QStringList> ratingChangeRows(const QStringList& historyLines,
                                      const QStringList& playerLines, const QString& name,
                                      const QString& city);

// The same from the files of the working folder; a file that cannot be read
// (history_players.dat before the first finished tournament) gives no lines.
QVector<QStringList> readRatingChangeRows(const QString& workingDir, const QString& name,
                                          const QString& city);

// The messages of the club list, as the user sees them.
Message clubLoadFailedMessage(const QString& path = QString(), const QString& reason = QString());
Message duplicateMemberMessage();
Message clubWriteFailedMessage(const QString& path = QString(), const QString& reason = QString());

// The rating-change window's title: the window is one member's, and says whose.
QString ratingChangeTitle(const QString& name, const QString& city);

// Reads players_club.dat as member lines; nullopt when it cannot be read.
std::optional<QStringList> readClubMembers(const QString& path, QString* error = nullptr);

// The state of the club list window: the member lines as last read, the rows shown,
// the selection, and adding and removing members. Changes go to players_club.dat
// atomically; a file that could not be read is never rewritten.
class ClubListController {
public:
    // `db` belongs to the application and outlives the controller.
    ClubListController(const PlayerDatabase& db, QString clubPath);

    // Rereads the file and rebuilds the rows; the selection is cleared. When the file
    // cannot be read, it fails with the message to show, and the members last read stay
    // listed.
    Result<> reload();

    const QStringList& members() const { return m_members; }
    const QVector<QStringList>& rows() const { return m_rows; }

    int selectedRow() const { return m_selected; }
    // A click in the list: the row (0-based), or -1 when none is selected.
    void clickRow(int row);
    bool removeEnabled() const { return m_selected >= 0; }
    bool ratingChangeEnabled() const { return m_selected >= 0; }
    // Name and city of the selected row; empty texts when none.
    QString selectedName() const;
    QString selectedCity() const;

    // Adds the player of a selection dialog row (number, name, city, category, rating
    // joined by line feeds). Refused with a message when the name and city already
    // stand in the file, whether or not the member is shown. Returns the messages to
    // show, in order (none on success).
    QVector<Message> addMember(const SelectedRowText& row);

    // Asked before a removal, "No" the default: a member removed by a stray key would
    // have to be looked up and added again. nullopt when no member is selected.
    std::optional<Message> removeQuestion() const;

    // Removes the selected member's line (every line of that name and city) from the
    // file; every other line is kept as it was, also that of a member not shown.
    QVector<Message> removeSelected();

private:
    const PlayerDatabase& m_db;
    QString m_path;
    QStringList m_members;
    QVector<QStringList> m_rows;
    int m_selected = -1;
};

} // namespace ladya
