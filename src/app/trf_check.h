// The pairing checker, `ladya-cli check FILE`: whether each round of a TRF is the
// pairing the program's Dutch engine makes from the rounds before it. It lives here, not
// beside the TRF's own commands, because it needs both the import and the engine.
#pragma once

#include "common/cli_output.h"
#include "common/result.h"
#include "pairing/dutch_pairing.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QVector>

namespace ladya {

// One round compared: the file's pairs the engine does not make, and the engine's pairs
// the file does not hold (White first; the pairing-allocated bye as the player with
// `TrfCheck::byeNumber`).
struct TrfRoundCheck {
    int round = 0;
    bool dutchFound = true; // false: the engine finds no pairing within the absolute criteria
    QVector<DutchPair> fileOnly;
    QVector<DutchPair> dutchOnly;
    // Why the pairs part, one line each: the absolute criteria the file's pairing breaks;
    // else, in the first bracket (from the top score down) in which the two pair
    // differently, the first criterion on which they part; else the order of the candidates
    // that decided between two equal pairings; or, the pairs being the same, the colour
    // rule that gave the engine's colours. Empty when the round agrees.
    QVector<QByteArray> criteria;
    bool agrees() const { return dutchFound && fileOnly.isEmpty() && dutchOnly.isEmpty(); }
};

struct TrfCheck {
    QVector<TrfRoundCheck> rounds;
    int byeNumber = 0; // the bye participant's number, 0 when the file needs none
    bool agrees() const;
};

// Reads the TRF as the import does (refused with the line named for whatever it
// refuses; a file without a start date, as pairing programs write them, is taken as
// one) and pairs every round r from the tournament cut to its first r - 1 rounds: the
// file's own absences, forbidden pairs and planned rounds (at least the rounds it holds)
// kept, the initial colour that of its round 1. `orderInWeight` pairs as
// DutchOptions::orderInWeight says.
Result<TrfCheck> checkTrfPairings(QByteArrayView text, bool orderInWeight = false);

// The report: "round N: ok" or "round N: differs" and under it the pairs that differ,
// one line each, "  file: W - B" then "  Dutch: W - B" ("bye" for the bye participant),
// then the lines of `criteria`, each indented as they are.
QByteArray trfCheckText(const TrfCheck& check);

// `args` as given to runCli, "check" first. Status 0 when every round agrees, 1 when one
// differs (the report says which), 2 on bad arguments or a file read or refused.
CliOutput runTrfCheckCli(const QStringList& args);

} // namespace ladya
