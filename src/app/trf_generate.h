// A random Swiss tournament, paired round by round by the program's own Dutch engine and
// written as a TRF: test material for pairing checkers. Every random choice comes from
// one std::mt19937_64 seeded with the seed through integer arithmetic of our own, so the
// same settings give the same file on every machine and compiler.
#pragma once

#include "common/cli_output.h"
#include "common/result.h"
#include "swiss/swiss_file.h"

#include <QByteArray>
#include <QStringList>
#include <cstdint>

namespace ladya {

// As many as a TRF's start rank holds, and rounds enough for any open; a tournament of
// more than the tournament file holds is still a TRF to check.
inline constexpr int MaxGeneratedPlayers = 9999;
inline constexpr int MaxGeneratedRounds = 99;

struct GenerateSettings {
    int players = 0; // 2..MaxGeneratedPlayers
    int rounds = 0;  // 1..MaxGeneratedRounds
    std::uint64_t seed = 0;
    // Rates in millionths (0..1 000 000): a draw or a forfeit per game; an announced
    // absence or a half-point bye per player and round.
    int drawRate = 300000;
    int forfeitRate = 20000;
    int absenceRate = 0;
    int halfByeRate = 0;
    int ratingMin = 1400;
    int ratingMax = 2600;
    int forbidden = 0; // random pairs that must not meet, for the whole tournament
    bool baku = false; // Baku acceleration
};

// The tournament with every round paired and played, or the round the engine could not
// pair (the failure names it). Participants are numbered by rating, highest first;
// the bye participant is added when a round's field is odd.
Result<SwissTournament> generateSwiss(const GenerateSettings& settings);

// `ladya-cli generate`: the options read, the tournament made and written as a TRF.
CliOutput runGenerateCli(const QStringList& args);

} // namespace ladya
