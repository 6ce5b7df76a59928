// players.dat: whatever the file holds loads record for record, the selection list
// shows every record, the text a rewrite writes loads back to the same records, and
// editing one record through the edit dialog's rules leaves every other record as it
// was in the file.
#include "fuzz_support.h"
#include "players/player_database.h"
#include "players/player_edit.h"
#include "players/player_selection.h"

using namespace ladya;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::inputBytes(data, size);
    PlayerDatabase db(splitLines(bytes));
    TournamentState state;
    const QString path = fuzz::scratchDir() + QStringLiteral("/players.dat");
    if (!fuzz::isText(bytes)) {
        QFile::remove(path);
        LADYA_FUZZ_CHECK(writeFileAtomic(path, bytes).ok());
        LADYA_FUZZ_CHECK(!loadPlayerDatabase(path).has_value());
        return 0;
    }
    PlayerSelectionController selection(db, path, state);
    LADYA_FUZZ_CHECK(selection.rows().size() == db.count());
    if (db.count() > 0)
        selection.search(recordField(db.record(1), 1).left(3));
    // What rewritePlayerDatabase writes.
    LADYA_FUZZ_CHECK(splitLines(joinLinesCrLf(db.records())) == db.records());

    if (db.count() == 0 || !fuzz::throughFiles(bytes))
        return 0;
    QFile::remove(path);
    LADYA_FUZZ_CHECK(writeFileAtomic(path, bytes).ok());
    std::optional<PlayerDatabase> loaded = loadPlayerDatabase(path);
    LADYA_FUZZ_CHECK(loaded.has_value() && loaded->records() == db.records());
    const PlayerDatabase before = *loaded;
    PlayerEditController edit(*loaded, path, 1);
    PlayerEditInput changed = edit.current();
    changed.category =
        changed.category == Categories.first() ? Categories.last() : Categories.first();
    if (!edit.save(changed))
        return 0; // refused: text that would break the file
    const std::optional<PlayerDatabase> reread = loadPlayerDatabase(path);
    LADYA_FUZZ_CHECK(reread.has_value() && reread->count() == before.count());
    LADYA_FUZZ_CHECK(reread->record(1) == loaded->record(1));
    for (int i = 2; i <= before.count(); ++i)
        LADYA_FUZZ_CHECK(reread->record(i) == before.record(i));
    return 0;
}
