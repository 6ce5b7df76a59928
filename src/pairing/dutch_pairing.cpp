#include "pairing/dutch_pairing.h"

namespace ladya {

DutchPairing pairDutch(const SwissTournament&, const DutchOptions&) {
    return {};
}

std::optional<InitialColour> initialColourFromRoundOne(const SwissTournament&) {
    return std::nullopt;
}

} // namespace ladya
