// The .swz loader: whatever loads stays within the tables, the standings and ratings
// can be computed from it, and the text it is saved as loads back to the same
// tournament.
#include "fuzz_support.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_rating.h"
#include "swiss/swiss_standings.h"

using namespace ladya;

namespace {

bool sameTournament(const SwissTournament& a, const SwissTournament& b) {
    return a.state.startDate == b.state.startDate && a.state.endDate == b.state.endDate &&
           a.participants == b.participants && a.rounds == b.rounds &&
           a.forfeitCounts == b.forfeitCounts && a.byeNumber == b.byeNumber;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Result<SwissTournament> load = parseSwissBytes(fuzz::inputBytes(data, size));
    if (!load) {
        LADYA_FUZZ_CHECK(!load.failure().text.isEmpty());
        return 0;
    }
    const SwissTournament& t = *load;
    LADYA_FUZZ_CHECK(t.participantCount() <= Limits::SwissParticipants);
    LADYA_FUZZ_CHECK(t.roundCount() <= Limits::SwissRounds);
    LADYA_FUZZ_CHECK(t.boardCount() <= Limits::SwissBoards);
    for (const QVector<SwissGame>& round : t.rounds)
        LADYA_FUZZ_CHECK(round.size() == t.boardCount());

    SwissStandings standings = computeSwissStandings(t);
    computeSwissRatings(t, standings);
    for (int n = 1; n <= t.participantCount(); ++n) {
        opponentPlacesText(standings, n);
        opponentNumbersText(standings, n);
    }

    const SwissFileText text = swissFileText(t);
    const Result<SwissTournament> again = parseSwissBytes(text.bytes);
    LADYA_FUZZ_CHECK(again.ok());
    LADYA_FUZZ_CHECK(sameTournament(*again, t));
    return 0;
}
