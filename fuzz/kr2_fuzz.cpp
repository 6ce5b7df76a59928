// The .kr2 loader: whatever loads stays within the tables, every list and figure of
// the windows can be computed from it, and saving it gives text that loads back to
// the same tournament.
#include "fuzz_support.h"
#include "roundrobin/round_robin_file.h"
#include "roundrobin/round_robin_rows.h"

using namespace ladya;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = QStringLiteral("fuzz.kr2");
    const Result<RoundRobinTournament> load =
        parseRoundRobin(splitLines(fuzz::inputBytes(data, size)), path);
    if (!load) {
        LADYA_FUZZ_CHECK(!load.failure().text.isEmpty());
        return 0;
    }
    const RoundRobinTournament& t = *load;
    LADYA_FUZZ_CHECK(t.participantCount() <= Limits::RoundRobinRows);
    LADYA_FUZZ_CHECK(t.roundCount() >= 0 && t.roundCount() <= Limits::RoundRobinRounds);
    LADYA_FUZZ_CHECK(t.boardCount() >= 0 && t.boardCount() <= Limits::RoundRobinBoards);
    LADYA_FUZZ_CHECK(t.games.size() == t.roundCount());
    for (const auto& round : t.games)
        LADYA_FUZZ_CHECK(round.size() == t.boardCount());

    const RoundRobinResults results = computeRoundRobin(t);
    for (int r = 1; r <= t.roundCount(); ++r)
        gameRows(t, r);
    standingsRows(t, results.standings);
    statisticsParticipantRows(t, results.standings);
    resultsTableRows(t, results);
    for (int n = 1; n <= t.participantCount(); ++n)
        participantGames(t, n);

    const Result<RoundRobinTournament> again =
        parseRoundRobin(splitLines(roundRobinFileBytes(t)), path);
    LADYA_FUZZ_CHECK(again.ok());
    LADYA_FUZZ_CHECK(*again == t);
    return 0;
}
