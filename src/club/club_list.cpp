#include "club/club_list.h"

#include "common/file_lock.h"
#include "common/text_file.h"
#include "common/tournament_state.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>

namespace ladya {

namespace {

// The date columns show "dd.MM.yyyy", ten characters.
constexpr int DateLength = 10;

constexpr int NameColumn = 1;
constexpr int RatingColumn = 2;
constexpr int CityColumn = 4;

// Index just past the first `count` code points of `text` from its start.
qsizetype codePointsFromStart(QStringView text, int count) {
    qsizetype i = 0;
    for (int n = 0; n < count && i < text.size(); ++n) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        i += pair ? 2 : 1;
    }
    return i;
}

// Index of the first of the last `count` code points of `text`.
qsizetype codePointsFromEnd(QStringView text, int count) {
    qsizetype i = text.size();
    for (int n = 0; n < count && i > 0; ++n) {
        const bool pair =
            text[i - 1].isLowSurrogate() && i - 2 >= 0 && text[i - 2].isHighSurrogate();
        i -= pair ? 2 : 1;
    }
    return i;
}

bool sameMember(QStringView line, const QString& name, const QString& city) {
    return memberName(line) == name && memberCity(line) == city;
}

} // namespace

const QVector<ListColumn>& clubListColumns() {
    static const QVector<ListColumn> columns = {{QStringLiteral("№"), 35},
                                                {QStringLiteral("ФИО"), 150},
                                                {QStringLiteral("Рейтинг"), 50},
                                                {QStringLiteral("Дата"), 130},
                                                {QStringLiteral("Город"), 100}};
    return columns;
}

const QVector<ListColumn>& ratingChangeColumns() {
    static const QVector<ListColumn> columns = {{QStringLiteral("ФИО"), 150},
                                                {QStringLiteral("Разряд"), 50},
                                                {QStringLiteral("Рейтинг"), 50},
                                                {QStringLiteral("Дата"), 50}};
    return columns;
}

QString firstCharacters(QStringView text, int count) {
    return text.first(codePointsFromStart(text, count)).toString();
}

QString lastCharacters(QStringView text, int count) {
    return text.sliced(codePointsFromEnd(text, count)).toString();
}

QString memberName(QStringView memberLine) {
    return recordField(memberLine, 1);
}

QString memberCity(QStringView memberLine) {
    return recordField(memberLine, 2);
}

QVector<QStringList> clubListRows(const QStringList& memberLines, const PlayerDatabase& db) {
    // The records of each (name, city) in index order, found once rather than by a scan
    // of the whole database per member.
    QHash<QString, QVector<int>> recordsOf;
    for (int k = 1; k <= db.count(); ++k) {
        const QString& record = db.record(k);
        recordsOf[recordField(record, 1) + u'\n' + recordField(record, 2)].append(k);
    }
    QVector<QStringList> rows;
    for (const QString& member : memberLines) {
        const QString name = memberName(member);
        const QString city = memberCity(member);
        // A name or city never holds a line feed (lines end there), so the key is exact.
        const auto found = recordsOf.constFind(name + u'\n' + city);
        if (found == recordsOf.cend())
            continue;
        for (const int k : *found) {
            const QString& record = db.record(k);
            rows.append({QString(), name, recordField(record, 4),
                         lastCharacters(recordField(record, 6), DateLength), city});
        }
    }
    orderByRating(rows, RatingColumn);
    for (qsizetype r = 0; r < rows.size(); ++r)
        rows[r][0] = QString::number(r + 1);
    return rows;
}

void orderByRating(QVector<QStringList>& rows, int ratingColumn) {
    const qsizetype d = rows.size();
    QVector<int> ratings(d);
    QVector<qsizetype> order(d);
    for (qsizetype r = 0; r < d; ++r) {
        ratings[r] = parseLenientInt(QStringView(rows.at(r).value(ratingColumn)));
        order[r] = r;
    }
    // The exchanges themselves decide where equal ratings end; a general sort would
    // list them in another order than the one the club has always printed.
    for (qsizetype i = 0; i < d; ++i) {
        for (qsizetype k = 0; k < d; ++k) {
            if (i != k && ratings[i] > ratings[k]) {
                std::swap(ratings[i], ratings[k]);
                std::swap(order[i], order[k]);
            }
        }
    }
    QVector<QStringList> ordered;
    ordered.reserve(d);
    for (const qsizetype r : order)
        ordered.append(std::move(rows[r]));
    rows = std::move(ordered);
}

QVector<QStringList> ratingChangeRows(const QStringList& historyLines,
                                      const QStringList& playerLines, const QString& name,
                                      const QString& city) {
    QVector<QStringList> rows;
    for (const QString& line : historyLines) {
        if (recordField(line, 1) == name && recordField(line, 2) == city)
            rows.append({recordField(line, 1), recordField(line, 3), recordField(line, 4),
                         firstCharacters(recordField(line, 6), DateLength)});
    }
    for (const QString& line : playerLines) {
        if (recordField(line, 1) == name && recordField(line, 2) == city)
            rows.append({recordField(line, 1), recordField(line, 3), recordField(line, 4),
                         lastCharacters(recordField(line, 6), DateLength)});
    }
    return rows;
}

QVector<QStringList> readRatingChangeRows(const QString& workingDir, const QString& name,
                                          const QString& city) {
    const QDir dir(workingDir);
    const QStringList history =
        readTextLines(dir.filePath(FileNames::History)).value_or(QStringList());
    const QStringList players =
        readTextLines(dir.filePath(FileNames::Players)).value_or(QStringList());
    return ratingChangeRows(history, players, name, city);
}

Message clubLoadFailedMessage(const QString& path, const QString& reason) {
    Message message{QStringLiteral("Ошибка"),
                    QStringLiteral("Не удалось открыть файл данных - ") + FileNames::Club};
    if (!path.isEmpty() || !reason.isEmpty())
        message.text += u'\n' + fileFailureDetail(path, reason);
    return message;
}

Message duplicateMemberMessage() {
    return {QStringLiteral("Повторение"), QStringLiteral("Этот участник уже занесен в список")};
}

Message clubWriteFailedMessage(const QString& path, const QString& reason) {
    Message message{QStringLiteral("Ошибка"),
                    QStringLiteral("Не удалось записать файл ") + FileNames::Club +
                        QStringLiteral("\nВозможно файл открыт в другой программе или у вас нет "
                                       "прав на запись в папку. Список не изменён.")};
    if (!path.isEmpty() || !reason.isEmpty())
        message.text += u'\n' + fileFailureDetail(path, reason);
    return message;
}

QString ratingChangeTitle(const QString& name, const QString& city) {
    return QCoreApplication::translate("ClubList", "Изменение рейтинга: %1, %2").arg(name, city);
}

std::optional<QStringList> readClubMembers(const QString& path, QString* error) {
    return readTextLines(path, error);
}

ClubListController::ClubListController(const PlayerDatabase& db, QString clubPath)
    : m_db(db), m_path(std::move(clubPath)) {}

Result<> ClubListController::reload() {
    m_selected = -1;
    Result<> loaded;
    QString reason;
    if (std::optional<QStringList> members = readClubMembers(m_path, &reason))
        m_members = std::move(*members);
    else if (!QFile::exists(m_path))
        loaded = clubLoadFailedMessage(); // not made yet: no reason a director needs
    else
        loaded = clubLoadFailedMessage(m_path, reason);
    m_rows = clubListRows(m_members, m_db);
    return loaded;
}

void ClubListController::clickRow(int row) {
    m_selected = row >= 0 && row < m_rows.size() ? row : -1;
}

QString ClubListController::selectedName() const {
    return m_selected >= 0 ? m_rows.at(m_selected).at(NameColumn) : QString();
}

QString ClubListController::selectedCity() const {
    return m_selected >= 0 ? m_rows.at(m_selected).at(CityColumn) : QString();
}

QVector<Message> ClubListController::addMember(const SelectedRowText& row) {
    m_selected = -1;
    const std::optional<Participant> player = participantFromSelectedRow(row);
    if (!player)
        return {};
    // Read and rewrite as one step, so that another copy's change in between is kept.
    FileLock lock(m_path);
    if (!lock.tryLock(DatabaseLockWaitMs))
        return {clubWriteFailedMessage(m_path, lockedFileReason(lock))};
    // The file, not the rows shown, says who is a member: a member without a database
    // record has no row and would otherwise be added a second time.
    QStringList current;
    if (QFile::exists(m_path)) {
        QString reason;
        std::optional<QStringList> read = readClubMembers(m_path, &reason);
        if (!read)
            return {clubLoadFailedMessage(m_path, reason)};
        current = std::move(*read);
    }
    for (const QString& line : current) {
        if (sameMember(line, player->name, player->city))
            return {duplicateMemberMessage()};
    }
    QVector<Message> messages;
    if (const Result<> appended = appendTextLines(m_path, {player->name + u'|' + player->city});
        !appended)
        messages.append(clubWriteFailedMessage(m_path, appended.failure().text));
    if (const Result<> reloaded = reload(); !reloaded)
        messages.append(reloaded.failure());
    return messages;
}

std::optional<Message> ClubListController::removeQuestion() const {
    if (m_selected < 0)
        return std::nullopt;
    return Message{QCoreApplication::translate("ClubList", "Удаление из списка"),
                   QCoreApplication::translate("ClubList", "Удалить из клубного списка: %1, %2?")
                       .arg(selectedName(), selectedCity())};
}

QVector<Message> ClubListController::removeSelected() {
    if (m_selected < 0)
        return {};
    const QString name = selectedName();
    const QString city = selectedCity();
    m_selected = -1;
    // Rewritten from what the file holds now, never from a list that failed to load.
    FileLock lock(m_path);
    if (!lock.tryLock(DatabaseLockWaitMs))
        return {clubWriteFailedMessage(m_path, lockedFileReason(lock))};
    QString reason;
    const std::optional<QStringList> current = readClubMembers(m_path, &reason);
    if (!current)
        return {clubLoadFailedMessage(m_path, reason)};
    QByteArray text;
    for (const QString& line : *current) {
        // A member without a row (record renamed or gone) stays a member: only the
        // director's choice removes anyone from the club.
        if (sameMember(line, name, city))
            continue;
        text += line.toUtf8();
        text += '\n';
    }
    keepLeadingMark(text);
    QVector<Message> messages;
    if (const Result<> written = writeFileAtomic(m_path, text); !written)
        messages.append(clubWriteFailedMessage(m_path, written.failure().text));
    if (const Result<> reloaded = reload(); !reloaded)
        messages.append(reloaded.failure());
    return messages;
}

} // namespace ladya
