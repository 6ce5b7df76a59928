// What the two creation windows share: the participant list's columns, the refusal of a
// participant entered twice, and the tournament's file name.
#pragma once

#include "common/list_column.h"
#include "common/message.h"
#include "common/result.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <optional>

namespace ladya {

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

// The name becomes a file name in the working folder: a character no file name may
// hold would fail the save or, worse, lead out of the folder; a name of blanks alone
// names nothing. Fails with the refusal, which names every such character at once.
Result<> fileNameCheck(const QString& tournamentName);

// Two tournaments of one name created on one day would share the file at `path`; the
// earlier one, perhaps with rounds played, must not be overwritten.
Message tournamentExistsMessage(const QString& path);

} // namespace ladya
