// The rating arithmetic shared by round-robin and Swiss tournaments: the table of
// expected percentages by rating difference, the expected score over a number of
// games, and the new rating with its rounding.
#pragma once

#include <QStringView>

namespace ladya {

// Percentage of the points the higher-rated side is expected to score when the two
// ratings differ by |difference| (50 up to a difference of 3, 92 from 392 on).
int higherRatedPercentage(long long difference);

// Percentage expected by a player rated `difference` = R − A above the average A of
// its opponents: the higher-rated value when R − A > 0, otherwise the lower-rated one.
int expectedPercentage(long long difference);

// Expected score over `countedGames` games: (countedGames ÷ 100) × percentage, in
// double precision and in that order, so that the results match to the last bit.
double expectedScore(int countedGames, long long difference);

// Nearest whole number, an exact half going to the even neighbour; saturates at the
// limits of int.
int roundHalfEven(double value);

// R + (points − forfeitWins − expected) × k, rounded half to even. Forfeit wins bring
// points in the standings but none for rating.
int newRating(int rating, double points, int forfeitWins, double expected, int k);

// The numeric value of a category text: its leading number ("1**" → 1, "3" → 3);
// "ГМ", "МС", "КМС" and the bye's "**" count 0.
int categoryValue(QStringView category);

// The numeric value of a rating text: its leading integer; "**" counts 0.
int ratingValue(QStringView rating);

} // namespace ladya
