// The companion file "<tournament>.swx" beside a .swz: the SwissExtras records the
// .swz cannot hold (the format is documented in swiss_companion.cpp). It is written
// atomically under the tournament's own lock, and together with the .swz it changes
// from one consistent pair to the next: the companion names the .swz it belongs to by
// a fingerprint of its structure (participants and boards, not results), and while an
// action rewrites both it also keeps the records that belong to the .swz before.
//
// loadSwiss, saveSwiss, reloadSwiss and writeSwissFile (swiss_file.h) read and write the
// companion themselves; the functions here are their parts.
#pragma once

#include "common/result.h"
#include "swiss/swiss_extras.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVector>
#include <optional>

namespace ladya {

struct SwissTournament;

// "<name>.swx" for "<name>.swz" (any other path gets ".swx" appended).
QString companionPath(const QString& swzPath);

// The structure's fingerprint: participants and who sits on which board, not results
// or dates. Taken from the .swz text, so that the file and the tournament it was written
// from give the same one.
QByteArray swissFingerprint(const SwissTournament& tournament);
QByteArray swzFingerprint(QByteArrayView swzBytes);
// The fingerprint of the whole .swz text, results and dates included.
QByteArray swzContentHash(QByteArrayView swzBytes);

// One set of records and the .swz it belongs to: the one with the structure
// `fingerprint`, and when `content` is not empty only the one whose whole text has that
// hash (the set an interrupted save was about to make current).
struct CompanionSet {
    QByteArray fingerprint;
    QByteArray content;
    SwissExtras extras;
    // The file's line of each record, for the refusals that need the .swz's numbers:
    // line of `rounds`, then of each bye, withdrawal, late entry, forbidden pair.
    int roundsLine = 0;
    QVector<int> byeLines, withdrawalLines, lateLines, forbiddenLines;
    int accelerationLine = 0;
    int tieBreaksLine = 0;
};

// The file's text: the sets in order.
QByteArray companionBytes(const QVector<CompanionSet>& sets);

// Reads a companion's text; `fileName` names it in the refusals, which name the line.
// Participants and rounds are checked against the tables' limits only: which set counts,
// and so which .swz's participants, is known only with the .swz (companionExtrasFor).
Result<QVector<CompanionSet>> parseCompanionBytes(QByteArrayView bytes, const QString& fileName);

// The set that belongs to the .swz text `swzBytes`, checked against its participants;
// refused when none does.
Result<CompanionSet> companionSetFor(const QVector<CompanionSet>& sets, QByteArrayView swzBytes,
                                     int participantCount, const QString& fileName,
                                     const QString& swzFileName);

// Why `extras` cannot be written for a tournament of `participantCount` participants
// (a number outside the table, a round outside 1..20, a contradicting record); empty
// when it can.
QString extrasFault(const SwissExtras& extras, int participantCount);

// The records stored beside the .swz at `swzPath` whose text is `swzBytes`: empty when
// there is no companion. A companion that cannot be read, holds a bad line or belongs to
// another .swz is refused by name.
Result<SwissExtras> loadCompanion(const QString& swzPath, QByteArrayView swzBytes,
                                  int participantCount);

// Where a pair's write failed, and why.
struct PairWriteFault {
    QString path;
    QString reason;
};

// Writes the .swz text `swzBytes` to `swzPath` together with the companion holding
// `extras`, so that a kill at any moment leaves a pair that loads as before or as after.
// Without a companion and with no records only the .swz is written, as it always was;
// when only results change and the records do not, only the .swz. A companion that
// cannot be read or belongs to another .swz is never replaced: the save is refused.
std::optional<PairWriteFault> writeSwissPair(const QString& swzPath, const QByteArray& swzBytes,
                                             const SwissExtras& extras);

} // namespace ladya
