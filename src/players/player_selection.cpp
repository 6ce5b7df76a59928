#include "players/player_selection.h"

#include <QCoreApplication>

namespace ladya {

namespace {

constexpr int RecordFields = 6;

QStringList listRow(int index, const QString& record) {
    QStringList row;
    row.reserve(RecordFields + 1);
    row.append(QString::number(index));
    const QStringList fields = record.split(u'|');
    for (int k = 0; k < RecordFields; ++k)
        row.append(fields.value(k));
    return row;
}

} // namespace

std::optional<Participant> participantFromSelectedRow(const SelectedRowText& row) {
    const QStringList parts = row.split(u'\n');
    if (row.isEmpty() || parts.size() != 5)
        return std::nullopt;
    return Participant{parts[0], parts[1], parts[3], parts[4], parts[2]};
}

bool isTypedRatingValid(QStringView text) {
    if (text.isEmpty() || text.size() > 6)
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    const int value = text.toInt();
    return value >= MinTypedRating && value <= MaxTypedRating;
}

QString typedRatingProblem(QStringView text) {
    if (isTypedRatingValid(text))
        return {};
    const QString range =
        QStringLiteral("целое от %1 до %2").arg(MinTypedRating).arg(MaxTypedRating);
    if (text.isEmpty())
        return QStringLiteral("Введите рейтинг: %1").arg(range);
    // The typed text is not repeated: it stands in the field beside.
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return QStringLiteral("Рейтинг не число: нужно %1").arg(range);
    }
    return QStringLiteral("Рейтинг вне границ: нужно %1").arg(range);
}

bool isTypedNameShortEnough(QStringView name) {
    return name.trimmed().size() <= Limits::PlayerNameLength;
}

QString typedNameProblem(QStringView name) {
    if (isTypedNameShortEnough(name))
        return {};
    return QCoreApplication::translate("PlayerSelection",
                                       "Ф.И.О длиннее %1 символов: сократите его")
        .arg(Limits::PlayerNameLength);
}

const QVector<ListColumn>& PlayerSelectionController::columns() {
    static const QVector<ListColumn> list = {
        {QStringLiteral("№"), 30},
        {QStringLiteral("Ф.И.О участника"), 190},
        {QStringLiteral("Страна/Город"), 140},
        {QStringLiteral("Разряд"), 70},
        {QStringLiteral("Рейтинг"), 70},
        {QStringLiteral("Последний турнир"), 200},
        {QStringLiteral("Дата"), 70},
    };
    return list;
}

PlayerSelectionController::PlayerSelectionController(PlayerDatabase& db, QString playersPath,
                                                     TournamentState& state)
    : m_db(db), m_path(std::move(playersPath)), m_state(state) {
    refill();
}

bool PlayerSelectionController::search(const QString& typed) {
    const QString upper = typed.toUpper();
    if (upper == m_search)
        return false;
    m_search = upper;
    filter();
    return true;
}

void PlayerSelectionController::refill() {
    m_allRows.clear();
    m_allRows.reserve(m_db.count());
    for (int i = 1; i <= m_db.count(); ++i)
        m_allRows.append(listRow(i, m_db.record(i)));
    // A database reloaded from a file changed elsewhere may be shorter.
    if (m_selected > m_db.count())
        m_selected = -1;
    filter();
}

void PlayerSelectionController::filter() {
    if (m_search.isEmpty()) {
        m_rows = m_allRows; // shares the rows, no copy
        return;
    }
    m_rows.clear();
    for (const QStringList& row : std::as_const(m_allRows)) {
        if (row.at(1).contains(m_search))
            m_rows.append(row);
    }
}

void PlayerSelectionController::clickRow(int listRow) {
    if (listRow < 0 || listRow >= m_rows.size()) {
        m_selected = -1;
        return;
    }
    const int index = parseLenientInt(m_rows.at(listRow).at(0));
    m_selected = index >= 1 && index <= m_db.count() ? index : -1;
}

int PlayerSelectionController::listRowOfSelected() const {
    if (m_selected < 1)
        return -1;
    const QString number = QString::number(m_selected);
    for (int r = 0; r < m_rows.size(); ++r) {
        if (m_rows.at(r).at(0) == number)
            return r;
    }
    return -1;
}

bool PlayerSelectionController::addEnabled(const NewPlayerInput& input) {
    return !input.name.trimmed().isEmpty() && !input.city.trimmed().isEmpty() &&
           !input.category.isEmpty() && isTypedNameShortEnough(input.name) &&
           isTypedRatingValid(input.rating.trimmed());
}

QString PlayerSelectionController::addProblem(const NewPlayerInput& input) {
    if (QString name = typedNameProblem(input.name); !name.isEmpty())
        return name;
    const QString rating = input.rating.trimmed();
    return rating.isEmpty() ? QString() : typedRatingProblem(rating);
}

AddPlayerResult PlayerSelectionController::add(const NewPlayerInput& input, const QDate& today) {
    // A name too long for a printed crosstable is refused here too, not only by the
    // button's rule.
    if (!isTypedNameShortEnough(input.name)) {
        AddPlayerResult refused;
        refused.outcome = AddPlayerResult::Outcome::Refused;
        refused.typed = {input.name.trimmed().toUpper(), input.city.trimmed().toUpper(),
                         input.category.toUpper(), input.rating.trimmed()};
        refused.message = {QStringLiteral("Ошибка"), typedNameProblem(input.name)};
        return refused;
    }
    // Blanks around a name would make a second record for the same player that the
    // duplicate check cannot see.
    NewPlayerInput typed{input.name.trimmed(), input.city.trimmed(), input.category,
                         input.rating.trimmed()};
    if (isTypedRatingValid(typed.rating))
        typed.rating = QString::number(typed.rating.toInt());
    AddPlayerResult result = addPlayerRecord(m_db, m_path, typed, today);
    if (result.added()) {
        result.typed = {};
        refill();
    }
    return result;
}

SelectedRowText PlayerSelectionController::choose() {
    if (!chooseEnabled() || m_selected > m_db.count())
        return {};
    const QString& record = m_db.record(m_selected);
    m_state.participantCount += 1;
    m_result = QStringList{QString::number(m_state.participantCount), recordField(record, 1),
                           recordField(record, 2), recordField(record, 3), recordField(record, 4)}
                   .join(u'\n');
    return m_result;
}

void PlayerSelectionController::cancel() {
    m_selected = -1;
    m_result.clear();
}

} // namespace ladya
