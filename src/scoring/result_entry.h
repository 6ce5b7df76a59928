// What both tournament windows share about entering a result: the selector's legend
// and the keys that write a result straight from the game list.
#pragma once

#include "common/message.h"

#include <QString>
#include <QStringList>
#include <Qt>
#include <optional>

namespace ladya {

// The text the result selector shows for an entry: the code with its meaning
// ("1 — победа белых"); the empty entry stays empty. What is stored is the bare code.
QString resultEntryLabel(const QString& entry);
QStringList resultEntryLabels(const QStringList& entries);

// The entry a key writes at once in the game list: 1, 0, "=" (a draw, "%"), "+" and "-"
// (forfeits, the keypad's too); Delete clears. Nothing for other keys or with Ctrl, Alt
// or Meta held, which belong to shortcuts.
std::optional<QString> resultEntryForKey(int key, Qt::KeyboardModifiers modifiers);

// The entry of a stored result as the selector offers it: White's code, "00" for the
// double forfeit (both codes "-"); "" for an unplayed game.
QString storedResultEntry(const QString& whiteCode, const QString& blackCode);

// What the selector proposes for an unplayed game against the bye participant: the
// point of the allocated bye goes to the side that has an opponent missing, "+" when the
// bye sits on Black and "-" when on White. "" for any other game.
QString byeProposal(bool whiteIsBye, bool blackIsBye);
// The line that tells why the proposal is made; "" for no proposal.
QString byeProposalHint(const QString& proposal);

// What "Записать" asks before `entry` replaces the stored result `stored` (both
// selector entries) of the game of `white` and `black`; nothing when the game has no
// result yet or keeps the one it has.
std::optional<Message> replaceResultQuestion(const QString& white, const QString& black,
                                             const QString& stored, const QString& entry);

} // namespace ladya
