// The shared data model of the one open tournament: its scalars, participants and limits.
#pragma once

#include <QString>
#include <QStringList>

namespace ladya {

// Tags stored in the tournament files.
namespace TournamentKind {
inline const QString OneCycle = QStringLiteral("1_krug");
inline const QString TwoCycles = QStringLiteral("2_kruga");
inline const QString Swiss = QStringLiteral("shweiz");
} // namespace TournamentKind

namespace Limits {
inline constexpr int PlayerDatabaseRecords = 10000;
inline constexpr int ClubMembers = 500;
inline constexpr int RoundRobinRows = 50; // the bye row included
inline constexpr int RoundRobinBoards = 25;
inline constexpr int RoundRobinRounds = 100;
inline constexpr int SwissParticipants = 300; // the bye participant included
inline constexpr int SwissRounds = 20;
inline constexpr int SwissBoards = 150;
// The longest name a new or edited player may be given: what a crosstable's name
// column shows on a sheet. Names stored longer still load.
inline constexpr int PlayerNameLength = 40;
} // namespace Limits

// The file names inside the working folder.
namespace FileNames {
inline const QString Players = QStringLiteral("players.dat");
inline const QString History = QStringLiteral("history_players.dat");
inline const QString Club = QStringLiteral("players_club.dat");
inline const QString Report = QStringLiteral("file.html");
} // namespace FileNames

// Scalars of the open tournament. Counts are plain numbers; dates are "dd.MM.yyyy"
// texts as the files hold them ("" = not set).
struct TournamentState {
    QString path; // full path of the tournament file
    QString kind; // a TournamentKind tag, "" before one is chosen
    QString startDate;
    QString endDate;          // "" while the tournament is not finished
    int participantCount = 0; // the bye row included
    int roundCount = 0;       // both cycles for a double round-robin
    int boardCount = 0;       // games per round
    int unplayedCount = 0;    // round-robin games without a result
    int ratingCoefficient = 10;

    bool isFinished() const { return !endDate.isEmpty(); }
};

// One participant row: five texts as the tournament files store them.
struct Participant {
    QString number;   // the 1-based row number as decimal text
    QString name;     // upper case, as in the player database
    QString category; // a category text ("ГМ" ... "5")
    QString rating;   // Elo rating at the start of the tournament, decimal text
    QString city;

    bool operator==(const Participant&) const = default;
};

// The placeholder that fills an odd field; whoever meets it has the bye.
inline const QString ByeText = QStringLiteral("**");
inline Participant makeByeRow(int number) {
    return {QString::number(number), ByeText, ByeText, ByeText, ByeText};
}
inline bool isByeRow(const Participant& p) {
    return p.name == ByeText;
}

// The categories in the order the lists offer them.
inline const QStringList Categories = {
    QStringLiteral("ГМ"), QStringLiteral("МС"), QStringLiteral("КМС"), QStringLiteral("1**"),
    QStringLiteral("1*"), QStringLiteral("1"),  QStringLiteral("2"),   QStringLiteral("3"),
    QStringLiteral("4"),  QStringLiteral("5")};

} // namespace ladya
