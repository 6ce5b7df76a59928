// players_club.dat: the list shows a row per member and matching record, ordered by
// rating; removing a member drops exactly that member's lines and adding one appends
// exactly one line, every other line kept as it was.
#include "club/club_list.h"
#include "fuzz_support.h"

#include <QSet>

using namespace ladya;

namespace {

bool isMember(const QString& line, const QString& name, const QString& city) {
    return memberName(line) == name && memberCity(line) == city;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::inputBytes(data, size);
    const QString path = fuzz::scratchDir() + QStringLiteral("/players_club.dat");
    const std::optional<QStringList> before = splitLines(bytes);

    // A database holding a record for every other member, its rating from the line.
    // One record per name and city: the list's exchange ordering is quadratic in its
    // rows, and a database of one player repeated would only measure that.
    QStringList records;
    QSet<QString> seen;
    for (int i = 0; i < before->size(); i += 2) {
        const QString& line = before->at(i);
        if (seen.contains(memberName(line) + u'|' + memberCity(line)))
            continue;
        seen.insert(memberName(line) + u'|' + memberCity(line));
        records.append(memberName(line) + u'|' + memberCity(line) + QStringLiteral("|1|") +
                       QString::number(1000 + line.size() % 7) +
                       QStringLiteral("|Новый участник|01.01.2020"));
    }
    const PlayerDatabase db(records);
    const QVector<QStringList> rows = clubListRows(*before, db);
    for (int i = 1; i < rows.size(); ++i)
        LADYA_FUZZ_CHECK(parseLenientInt(rows[i - 1].at(2)) >= parseLenientInt(rows[i].at(2)));
    if (rows.isEmpty() || !fuzz::throughFiles(bytes))
        return 0;

    QFile::remove(path);
    LADYA_FUZZ_CHECK(writeFileAtomic(path, bytes).ok());
    ClubListController club(db, path);
    if (!fuzz::isText(bytes)) {
        LADYA_FUZZ_CHECK(!club.reload().ok());
        return 0;
    }
    LADYA_FUZZ_CHECK(club.reload().ok());
    LADYA_FUZZ_CHECK(club.members() == *before && club.rows() == rows);

    club.clickRow(int(rows.size()) - 1);
    const QString name = club.selectedName();
    const QString city = club.selectedCity();
    LADYA_FUZZ_CHECK(club.removeSelected().isEmpty());
    QStringList expected;
    for (const QString& line : *before)
        if (!isMember(line, name, city))
            expected.append(line);
    LADYA_FUZZ_CHECK(readClubMembers(path) == expected);

    // The member comes back with one line at the end.
    const QVector<Message> added = club.addMember(
        QStringList{QStringLiteral("1"), name, city, QStringLiteral("1"), QStringLiteral("1500")}
            .join(u'\n'));
    if (added.isEmpty()) {
        expected.append(name + u'|' + city);
        LADYA_FUZZ_CHECK(readClubMembers(path) == expected);
    }
    return 0;
}
