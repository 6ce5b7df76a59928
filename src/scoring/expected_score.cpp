#include "scoring/expected_score.h"

#include "common/text_file.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace ladya {

namespace {

// Upper bound (inclusive) of each difference band; band i gives 50 + i per cent.
// Differences beyond the last bound give 92.
constexpr std::array<int, 42> BandUpperBounds = {
    3,   10,  17,  25,  32,  39,  46,  53,  61,  68,  76,  83,  91,  98,
    106, 113, 121, 129, 137, 145, 153, 162, 170, 179, 188, 197, 206, 215,
    225, 235, 245, 256, 267, 278, 290, 302, 315, 328, 344, 357, 374, 391};

} // namespace

int higherRatedPercentage(long long difference) {
    const long long d = difference < 0 ? -difference : difference;
    // The first band whose upper bound reaches d.
    const auto band = std::lower_bound(BandUpperBounds.begin(), BandUpperBounds.end(), d);
    return 50 + static_cast<int>(band - BandUpperBounds.begin());
}

int expectedPercentage(long long difference) {
    const int p = higherRatedPercentage(difference);
    return difference > 0 ? p : 100 - p;
}

double expectedScore(int countedGames, long long difference) {
    return (static_cast<double>(countedGames) / 100.0) * expectedPercentage(difference);
}

int roundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double rounded = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        rounded = lower + 1.0;
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

int newRating(int rating, double points, int forfeitWins, double expected, int k) {
    return roundHalfEven(static_cast<double>(rating) +
                         (points - forfeitWins - expected) * static_cast<double>(k));
}

int categoryValue(QStringView category) {
    return parseLenientInt(category);
}

int ratingValue(QStringView rating) {
    return parseLenientInt(rating);
}

} // namespace ladya
