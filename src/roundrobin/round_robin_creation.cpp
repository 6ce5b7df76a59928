#include "roundrobin/round_robin_creation.h"

#include "common/tournament_creation.h"
#include "scoring/expected_score.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ladya {

QVector<QVector<std::pair<int, int>>> bergerPairings(int n) {
    QVector<QVector<std::pair<int, int>>> rounds;
    if (n < 2 || n % 2 != 0)
        return rounds;
    const int m = n - 1;
    const int boards = n / 2;
    // A remainder in 0..n − 2 also for a negative left side.
    const auto mod = [m](int x) { return ((x % m) + m) % m; };
    for (int r = 1; r <= m; ++r) {
        QVector<std::pair<int, int>> round;
        round.reserve(boards);
        if (r % 2 == 1)
            round.append({(r + 1) / 2, n});
        else
            round.append({n, n / 2 + r / 2});
        for (int b = 2; b <= boards; ++b)
            round.append({mod((r - 1) * boards + b - 1) + 1,
                          mod(n - 2 - (r - 1) * (boards - 1) - (b - 2)) + 1});
        rounds.append(round);
    }
    return rounds;
}

QVector<QVector<RoundRobinGame>> buildBergerSchedule(const QVector<Participant>& participants,
                                                     bool twoCycles) {
    const auto pairings = bergerPairings(static_cast<int>(participants.size()));
    QVector<QVector<RoundRobinGame>> games;
    games.reserve(pairings.size() * (twoCycles ? 2 : 1));
    for (const auto& round : pairings) {
        QVector<RoundRobinGame> boards;
        boards.reserve(round.size());
        for (const auto& [white, black] : round)
            boards.append({participants.at(white - 1).name, participants.at(black - 1).name,
                           QString(), QString()});
        games.append(boards);
    }
    if (twoCycles) {
        const qsizetype m = games.size();
        for (qsizetype k = 0; k < m; ++k) {
            QVector<RoundRobinGame> boards = games.at(k);
            for (RoundRobinGame& g : boards)
                std::swap(g.white, g.black);
            games.append(boards);
        }
    }
    return games;
}

QString roundRobinFileName(const QString& tournamentName, const QDate& creationDay) {
    return tournamentFileName(tournamentName, creationDay, QStringLiteral("kr2"));
}

RoundRobinCreation::RoundRobinCreation(QString kind, QString workingDir, SaveFunction save)
    : m_kind(std::move(kind)), m_workingDir(std::move(workingDir)), m_save(std::move(save)) {
    if (!m_save)
        m_save = [](const RoundRobinTournament& t) { return saveRoundRobin(t); };
}

QString RoundRobinCreation::windowTitle() {
    return QStringLiteral("Создание нового турнира (круговая система)");
}

QString RoundRobinCreation::cycleLabel() const {
    return m_kind == TournamentKind::OneCycle ? QStringLiteral("Круговая система в 1 круг")
                                              : QStringLiteral("Круговая система в 2 круга");
}

QVector<QStringList> RoundRobinCreation::participantRows() const {
    QVector<QStringList> rows;
    rows.reserve(m_rows.size());
    for (const Participant& p : m_rows)
        rows.append({p.number, p.name, p.city, p.category, p.rating});
    return rows;
}

Message RoundRobinCreation::sameNameMessage() {
    return {QStringLiteral("Повторный ввод участника"),
            QStringLiteral("Участник с такими же Ф.И.О. из другого города уже занесен в список "
                           "турнира.\nВ партиях турнира игроки различаются только по Ф.И.О., "
                           "поэтому двух одноименных участников записать нельзя.")};
}

Message RoundRobinCreation::tooManyMessage() {
    return {QStringLiteral("Слишком много участников"),
            QStringLiteral("В круговом турнире может быть не более %1 участников.")
                .arg(Limits::RoundRobinRows)};
}

Result<> RoundRobinCreation::addParticipant(const QString& selectedRowText) {
    if (selectedRowText.isEmpty())
        return {};
    const QStringList parts = selectedRowText.split(u'\n');
    Participant p;
    p.name = parts.value(1);
    p.city = parts.value(2);
    p.category = parts.value(3);
    p.rating = parts.value(4);
    return addParticipant(p);
}

Result<> RoundRobinCreation::addParticipant(const Participant& player) {
    for (const Participant& row : m_rows) {
        if (row.name == player.name && row.city == player.city)
            return duplicateParticipantMessage();
    }
    for (const Participant& row : m_rows) {
        if (row.name == player.name)
            return sameNameMessage();
    }
    // An odd field takes the bye row besides, so at most the limit itself in players.
    if (participantCount() + 1 > Limits::RoundRobinRows)
        return tooManyMessage();
    Participant p = player;
    p.number = QString::number(participantCount() + 1);
    m_rows.append(p);
    m_selected = -1;
    updateSummary();
    return {};
}

void RoundRobinCreation::clickRow(int position) {
    if (position < 0 || position >= participantCount())
        return;
    m_selected = parseLenientInt(m_rows.at(position).number);
}

void RoundRobinCreation::removeSelected() {
    if (m_selected < 1 || m_selected > participantCount())
        return;
    m_rows.removeAt(m_selected - 1);
    for (int k = 0; k < participantCount(); ++k)
        m_rows[k].number = QString::number(k + 1);
    m_selected = -1;
    updateSummary();
}

void RoundRobinCreation::updateSummary() {
    const int n = participantCount();
    m_participantsLabel = QStringLiteral("Всего участников - ") + QString::number(n);
    long long rounds = 0;
    long long games = 0;
    if (n >= 2) {
        const bool twoCycles = m_kind == TournamentKind::TwoCycles;
        const long long even = n % 2 == 0 ? n : n + 1; // the bye fills an odd field
        rounds = (even - 1) * (twoCycles ? 2 : 1);
        games = even * (even - 1) / 2 * (twoCycles ? 2 : 1);
    }
    m_roundsLabel = QStringLiteral("Всего туров - ") + QString::number(rounds);
    m_gamesLabel = QStringLiteral("Всего партий - ") + QString::number(games);
    if (n > 0) {
        long long categories = 0;
        long long ratings = 0;
        for (const Participant& p : m_rows) {
            categories += categoryValue(p.category);
            ratings += ratingValue(p.rating);
        }
        m_coefficientLabel = QStringLiteral("Коэффициент турнира - ") +
                             formatFixed(double(categories) / double(n), 2);
        m_averageLabel = QStringLiteral("Средний ЭЛО турнира - ") + QString::number(ratings / n);
    }
}

RoundRobinTournament RoundRobinCreation::buildTournament(const QDate& today) const {
    RoundRobinTournament t;
    t.state.kind = m_kind;
    t.state.startDate = m_startDate.isEmpty() ? formatDate(today) : m_startDate;
    t.participants = m_rows;
    for (int k = 0; k < t.participantCount(); ++k)
        t.participants[k].number = QString::number(k + 1);
    if (t.participantCount() % 2 != 0)
        t.participants.append(makeByeRow(t.participantCount() + 1));
    const int n = t.participantCount();
    const bool twoCycles = m_kind == TournamentKind::TwoCycles;
    t.state.participantCount = n;
    t.state.boardCount = n / 2;
    t.state.roundCount = (n - 1) * (twoCycles ? 2 : 1);
    t.state.path = QDir(m_workingDir).filePath(roundRobinFileName(m_name, today));
    t.games = buildBergerSchedule(t.participants, twoCycles);
    t.state.unplayedCount = t.countUnplayed();
    return t;
}

std::optional<Message> RoundRobinCreation::closeQuestion() const {
    return discardParticipantsQuestion(participantCount());
}

Result<RoundRobinTournament> RoundRobinCreation::finish(const QDate& today) {
    // The name becomes a file name in the working folder: a character no file name
    // may hold would fail the save or, worse, lead out of the folder.
    if (Result<> named = fileNameCheck(m_name); !named)
        return named.failure();
    const RoundRobinTournament t = buildTournament(today);
    if (QFileInfo::exists(t.state.path))
        return tournamentExistsMessage(t.state.path);
    if (Result<> saved = m_save(t); !saved)
        return saved.failure();
    if (!m_tieBreaks.isEmpty()) {
        // Without its list the tournament would rank otherwise than the director chose:
        // the new file goes again, so that "Завершить" can be tried once more.
        if (Result<> saved = saveRoundRobinTieBreaks(t.state.path, m_tieBreaks); !saved) {
            QFile::remove(t.state.path);
            return saved.failure();
        }
    }
    Result<RoundRobinTournament> loaded = loadRoundRobin(t.state.path);
    if (loaded)
        loaded->tieBreaks = m_tieBreaks;
    return loaded;
}

} // namespace ladya
