// The state, texts and rules of the player selection dialog: the filtered list of the
// database, the selected record, adding a player and choosing one for a tournament.
#pragma once

#include "common/list_column.h"
#include "common/tournament_state.h"
#include "players/player_database.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

// The participant row handed to the caller: number, name, city, category and rating
// joined by line feeds; "" when no player was chosen.
using SelectedRowText = QString;

// The participant a selected row describes; nullopt for "" (nothing chosen) or a
// text that is not five line-feed separated parts.
std::optional<Participant> participantFromSelectedRow(const SelectedRowText& row);

namespace PlayerSelectionTexts {
inline const QString Title = QStringLiteral("Выбор игрока из базы");
inline constexpr int Width = 800;
inline constexpr int Height = 600;
inline const QString SearchLabel = QStringLiteral("Поиск по Ф.И.О");
inline const QString ChooseButton = QStringLiteral("Выбрать участника");
inline const QString EditButton = QStringLiteral("Редактировать участника");
inline const QString AddHeading = QStringLiteral("ДОБАВЛЕНИЕ НОВОГО УЧАСТНИКА");
inline const QString NameLabel = QStringLiteral("Ф.И.О участника");
inline const QString CityLabel = QStringLiteral("Страна/Город");
inline const QString CategoryLabel = QStringLiteral("Разряд");
inline const QString RatingLabel = QStringLiteral("Рейтинг");
inline const QString AddButton = QStringLiteral("Добавить в БД");
} // namespace PlayerSelectionTexts

// The ratings a player may be given by hand.
inline constexpr int MinTypedRating = 500;
inline constexpr int MaxTypedRating = 3500;

// True for a rating typed as a whole number (digits only) within 500..3500. Text such
// as "1500abc" is refused: it would be stored as typed and shown in every table.
bool isTypedRatingValid(QStringView text);
// Why a typed rating cannot be taken, to show beside the field; "" when it can.
QString typedRatingProblem(QStringView text);
// True for a name a new or edited player may be given: at most
// Limits::PlayerNameLength characters once trimmed.
bool isTypedNameShortEnough(QStringView name);
// Why a typed name cannot be taken, with the limit; "" when it can.
QString typedNameProblem(QStringView name);

class PlayerSelectionController {
public:
    // The list columns: "№" (the database index) and the record's six fields.
    static const QVector<ListColumn>& columns();

    // `db` and `state` belong to the application and outlive the controller.
    PlayerSelectionController(PlayerDatabase& db, QString playersPath, TournamentState& state);

    // The rows shown: the records whose name contains the search text, in index order.
    const QVector<QStringList>& rows() const { return m_rows; }
    // The last search text, upper case ("" = every record).
    const QString& searchText() const { return m_search; }

    // An edit of the search field. Refilters only when the upper-cased text differs
    // from the last search; returns whether the rows were refilled.
    bool search(const QString& typed);
    // Rebuilds the rows from the database (after an add or an edit), keeping the filter.
    void refill();

    // A click in the list at row `listRow` (-1 when no row is selected afterwards).
    void clickRow(int listRow);
    // The selected database index, 1-based; -1 when none. Filtering keeps it.
    int selectedIndex() const { return m_selected; }
    // The list row showing the selected record, -1 when it is filtered out or none.
    int listRowOfSelected() const;

    // Both act on the selected player only while the list shows it: a player the
    // filter hides is not what the director sees chosen.
    bool chooseEnabled() const { return listRowOfSelected() >= 0; }
    bool editEnabled() const { return listRowOfSelected() >= 0; }
    // "Добавить в БД": all four inputs given, the name not over the length limit and
    // the rating a whole number in 500..3500.
    static bool addEnabled(const NewPlayerInput& input);
    // Why "Добавить в БД" stays disabled for the name or the typed rating, shown beside
    // it; "" when neither is the reason (an empty rating field is no reason to speak).
    static QString addProblem(const NewPlayerInput& input);

    // Adds the typed player (names and cities trimmed, rating written as a plain
    // number) and refills the list when it was added. The result's `typed` texts are
    // what the input fields show afterwards (cleared when added).
    AddPlayerResult add(const NewPlayerInput& input, const QDate& today);

    // "Выбрать участника": counts the participant in and returns its row; "" (and no
    // count) when no existing record is selected and shown.
    SelectedRowText choose();
    // The close box: nothing chosen.
    void cancel();
    const SelectedRowText& result() const { return m_result; }

private:
    void filter();

    PlayerDatabase& m_db;
    QString m_path;
    TournamentState& m_state;
    QVector<QStringList> m_allRows; // every record, split once per database change
    QVector<QStringList> m_rows;
    QString m_search;
    int m_selected = -1;
    SelectedRowText m_result;
};

} // namespace ladya
