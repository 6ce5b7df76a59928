// history_players.dat: a member's rating changes list at most a row per line, appending
// keeps every line already there and adds exactly the new ones, and completing a
// tournament twice over any history writes each participant's line once.
#include "club/club_list.h"
#include "fuzz_support.h"
#include "players/completion.h"

using namespace ladya;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::inputBytes(data, size);
    const QStringList lines = splitLines(bytes);
    if (!lines.isEmpty()) {
        const QString& first = lines.first();
        const QVector<QStringList> rows =
            ratingChangeRows(lines, {}, recordField(first, 1), recordField(first, 2));
        LADYA_FUZZ_CHECK(rows.size() <= lines.size());
    }
    if (!fuzz::throughFiles(bytes))
        return 0;

    const QString dir = fuzz::scratchDir();
    const QString historyPath = dir + QStringLiteral("/history_players.dat");
    const QString playersPath = dir + QStringLiteral("/players.dat");
    QFile::remove(historyPath);
    LADYA_FUZZ_CHECK(writeFileAtomic(historyPath, bytes).ok());
    const std::optional<QStringList> before = readTextLines(historyPath);
    if (!fuzz::isText(bytes)) {
        LADYA_FUZZ_CHECK(!before.has_value());
        return 0;
    }
    LADYA_FUZZ_CHECK(before.has_value() && *before == lines);

    // Two participants of a tournament named after the input's first bytes, so that the
    // history may already hold some of its lines.
    // A tournament name is a file name: the program refuses what no file name may hold.
    QString label = QString::fromUtf8(bytes.left(12));
    if (label.isEmpty() || hasForbiddenFileNameCharacter(label))
        label = QStringLiteral("Турнир");
    const QVector<Participant> participants = {
        {QStringLiteral("1"), QStringLiteral("ИВАНОВ"), QStringLiteral("1"), QStringLiteral("1500"),
         QStringLiteral("МОСКВА")},
        {QStringLiteral("2"), QStringLiteral("ПЕТРОВ"), QStringLiteral("2"), QStringLiteral("1400"),
         QStringLiteral("ТУЛА")}};
    LADYA_FUZZ_CHECK(writeFileAtomic(playersPath, "ИВАНОВ|МОСКВА|1|1500|Новый участник|\r\n"
                                                  "ПЕТРОВ|ТУЛА|2|1400|Новый участник|\r\n")
                         .ok());
    const CompletionInput input{dir + u'/' + label + QStringLiteral(".kr2"),
                                QStringLiteral("01.01.2026"),
                                QStringLiteral("02.01.2026"),
                                participants,
                                {1510, 1390}};
    PlayerDatabase db;
    const auto save = [](const QString&) { return Result<>(); };
    const Result<> first = completeTournament(input, db, playersPath, historyPath, save);
    LADYA_FUZZ_CHECK(first.ok());
    const std::optional<QByteArray> once = readFileBytes(historyPath);
    const Result<> second = completeTournament(input, db, playersPath, historyPath, save);
    LADYA_FUZZ_CHECK(second.ok());
    LADYA_FUZZ_CHECK(readFileBytes(historyPath) == once);

    const std::optional<QStringList> after = readTextLines(historyPath);
    LADYA_FUZZ_CHECK(after.has_value());
    // The lines that were there are kept, in order, ahead of the new ones.
    LADYA_FUZZ_CHECK(after->mid(0, before->size()) == *before);
    const QString realLabel = tournamentLabel(input.tournamentPath);
    for (const Participant& p : participants) {
        int count = 0;
        for (const QString& line : *after)
            count += recordField(line, 1) == p.name && recordField(line, 2) == p.city &&
                     recordField(line, 5) == realLabel;
        LADYA_FUZZ_CHECK(count >= 1);
        // Only what was there already may repeat a line.
        int had = 0;
        for (const QString& line : *before)
            had += recordField(line, 1) == p.name && recordField(line, 2) == p.city &&
                   recordField(line, 5) == realLabel;
        LADYA_FUZZ_CHECK(count == qMax(had, 1));
    }
    return 0;
}
