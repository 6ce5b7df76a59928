// The companion file reader: whatever it takes is written back as a text that reads to
// the same sets of records, and those hold within the tables.
#include "common/tournament_state.h"
#include "fuzz_support.h"
#include "swiss/swiss_companion.h"

using namespace ladya;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::inputBytes(data, size);
    const Result<QVector<CompanionSet>> sets = parseCompanionBytes(bytes, QStringLiteral("t.swx"));
    if (!sets) {
        LADYA_FUZZ_CHECK(sets.failure().text.contains(QStringLiteral("t.swx")));
        return 0;
    }
    LADYA_FUZZ_CHECK(!sets->isEmpty() && sets->size() <= 2);
    const Result<QVector<CompanionSet>> again =
        parseCompanionBytes(companionBytes(*sets), QStringLiteral("t.swx"));
    LADYA_FUZZ_CHECK(again.ok() && again->size() == sets->size());
    for (qsizetype i = 0; i < sets->size(); ++i) {
        const CompanionSet& a = (*sets)[i];
        const CompanionSet& b = (*again)[i];
        LADYA_FUZZ_CHECK(a.fingerprint == b.fingerprint && a.content == b.content &&
                         a.extras == b.extras);
        LADYA_FUZZ_CHECK(extrasFault(a.extras, Limits::SwissParticipants).isEmpty());
    }
    return 0;
}
