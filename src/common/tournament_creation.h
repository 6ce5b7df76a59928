// What the two creation windows share: their size and fixed texts, what they ask of
// either kind's rules, the participant list's columns, the refusal of a participant
// entered twice, and the tournament's file name.
#pragma once

#include "common/list_column.h"
#include "common/message.h"
#include "common/result.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

// The fixed texts and size (client area) of the creation window of either kind.
namespace CreationWindowText {
inline constexpr int Width = 560;
inline constexpr int Height = 700;
inline const QString NameLabel = QStringLiteral("Название турнира");
inline const QString DateLabel = QStringLiteral("Дата");
inline const QString AddButton = QStringLiteral("Добавить участника");
inline const QString RemoveButton = QStringLiteral("Удалить участника");
inline const QString FinishButton = QStringLiteral("Завершить");
} // namespace CreationWindowText

// What the creation window asks of its kind's rules, whichever the kind. Finishing, and
// what a kind shows beside the count, belong to the kind.
class TournamentCreation {
public:
    virtual ~TournamentCreation() = default;

    virtual void setName(const QString& name) = 0;
    virtual void setStartDate(const QString& date) = 0;
    // "Добавить участника" with the text the player selection returned (number, name,
    // city, category and rating joined by line feeds; "" adds nothing). The row gets the
    // next number; fails with the message when it is refused.
    virtual Result<> addParticipant(const QString& selectedRowText) = 0;
    // A click in the list at `position` (counted from 0; −1 when the click selected
    // nothing, which keeps the previous selection).
    virtual void clickRow(int position) = 0;
    virtual void removeSelected() = 0; // "Удалить участника", renumbering the rest

    // The list: "№", name, city, category, rating.
    virtual QVector<QStringList> participantRows() const = 0;
    virtual int participantCount() const = 0;
    virtual bool removeEnabled() const = 0;
    virtual bool finishEnabled() const = 0;
    // What to ask before the close box drops the participants; nothing to ask when none.
    virtual std::optional<Message> closeQuestion() const = 0;

    // The tie-break list chosen for the new tournament, stored with it ("" for none).
    void setTieBreaks(const QString& listText) { m_tieBreaks = listText; }
    const QString& tieBreaks() const { return m_tieBreaks; }

protected:
    QString m_tieBreaks;
};

// "№", "Ф.И.О участника", "Страна/Город", "Разряд", "Рейтинг".
QVector<ListColumn> creationParticipantColumns();

// The same player (name and city) entered a second time.
Message duplicateParticipantMessage();

// Closing a creation window drops the participants chosen so far: the question asked
// first, with `participantCount` of them; nothing to ask when none is chosen.
std::optional<Message> discardParticipantsQuestion(int participantCount);

// The file of a tournament created on `creationDay`, blanks becoming "_":
// "Кубок клуба" on 05.12.2026 with extension "swz" → "Кубок_клуба_(05.12.2026).swz".
QString tournamentFileName(const QString& tournamentName, const QDate& creationDay,
                           const QString& extension);

// The tournament's name as the director typed it, read back from its file: the file
// name without folder and extension, blanks for "_", without the "(date of creation)"
// that tournamentFileName appends. What the TRF export and the printed sheets show.
QString tournamentNameOfFile(const QString& tournamentPath);

// The name becomes a file name in the working folder: a character no file name may
// hold would fail the save or, worse, lead out of the folder; a name of blanks alone
// names nothing. Fails with the refusal, which names every such character at once.
Result<> fileNameCheck(const QString& tournamentName);

// Two tournaments of one name created on one day would share the file at `path`; the
// earlier one, perhaps with rounds played, must not be overwritten.
Message tournamentExistsMessage(const QString& path);

} // namespace ladya
