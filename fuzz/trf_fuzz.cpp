// TRF import: whatever imports stays within the tables, its points add up, and its
// export imports back to the same tournament, whose export is the same text again.
#include "exchange/trf.h"
#include "fuzz_support.h"
#include "swiss/swiss_file.h"

using namespace ladya;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Result<TrfImported> imported = trfImportSwiss(fuzz::inputBytes(data, size));
    if (!imported) {
        LADYA_FUZZ_CHECK(!imported.failure().text.isEmpty());
        return 0;
    }
    const SwissTournament& t = imported->tournament;
    LADYA_FUZZ_CHECK(t.participantCount() <= Limits::SwissParticipants);
    LADYA_FUZZ_CHECK(t.roundCount() <= Limits::SwissRounds);
    for (const QVector<SwissGame>& round : t.rounds)
        LADYA_FUZZ_CHECK(round.size() == t.boardCount());

    // What the director keeps is the .swz: the imported tournament must survive it.
    const Result<SwissTournament> stored = parseSwissBytes(swissFileText(t).bytes);
    LADYA_FUZZ_CHECK(stored.ok());
    LADYA_FUZZ_CHECK(stored->participants == t.participants && stored->rounds == t.rounds);

    const QByteArray exported = trfExport(t, imported->plannedRounds);
    const Result<TrfImported> again = trfImportSwiss(exported);
    LADYA_FUZZ_CHECK(again.ok());
    LADYA_FUZZ_CHECK(again->tournament.rounds == t.rounds);
    LADYA_FUZZ_CHECK(trfExport(again->tournament, again->plannedRounds) == exported);
    return 0;
}
