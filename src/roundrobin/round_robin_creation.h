// Setting up a new round-robin: the participant list with its summary, the refusals,
// the Berger schedule and the first save of the tournament file.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "common/text_file.h"
#include "common/tournament_creation.h"
#include "roundrobin/round_robin_file.h"
#include "roundrobin/round_robin_rows.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <functional>
#include <optional>
#include <utility>

namespace ladya {

// One cycle of the Berger tables for an even n: per round (0-based) the boards' pairs
// (white, black) of participant numbers 1..n.
QVector<QVector<std::pair<int, int>>> bergerPairings(int n);

// The games of all rounds, naming the players by `name`, results empty. A second
// cycle repeats the first with colours exchanged. `participants` must be even in count.
QVector<QVector<RoundRobinGame>> buildBergerSchedule(const QVector<Participant>& participants,
                                                     bool twoCycles);

// The .kr2 file name of a tournament created on `creationDay`: blanks become "_".
QString roundRobinFileName(const QString& tournamentName, const QDate& creationDay);

// The creation window's state and rules, without widgets.
class RoundRobinCreation : public TournamentCreation {
public:
    using SaveFunction = std::function<Result<>(const RoundRobinTournament&)>;

    // `kind` is "1_krug" or "2_kruga"; files are created in `workingDir`. `save`
    // defaults to saveRoundRobin.
    RoundRobinCreation(QString kind, QString workingDir, SaveFunction save = {});

    static QString windowTitle(); // "Создание нового турнира (круговая система)"
    QString cycleLabel() const; // "Круговая система в 1 круг" / "… в 2 круга"

    QVector<QStringList> participantRows() const override;
    int participantCount() const override { return static_cast<int>(m_rows.size()); }

    // Summary labels, as they stand after the last add or remove.
    const QString& participantsLabel() const { return m_participantsLabel; }
    const QString& roundsLabel() const { return m_roundsLabel; }
    const QString& gamesLabel() const { return m_gamesLabel; }
    const QString& coefficientLabel() const { return m_coefficientLabel; }
    const QString& averageRatingLabel() const { return m_averageLabel; }

    void setName(const QString& name) override { m_name = name; }
    const QString& name() const { return m_name; }
    void setStartDate(const QString& date) override { m_startDate = date; }

    Result<> addParticipant(const QString& selectedRowText) override;
    Result<> addParticipant(const Participant& player);

    void clickRow(int position) override;
    int selectedRow() const { return m_selected; } // 1-based "№", −1 when none
    void removeSelected() override;

    bool removeEnabled() const override { return m_selected > 0; }
    bool finishEnabled() const override { return participantCount() > 2 && !m_name.isEmpty(); }

    std::optional<Message> closeQuestion() const override;

    // While finishEnabled(): builds the tournament, saves it and reads it back from its
    // new file. On failure the window's state is as before, so the user can change the
    // name and try again.
    Result<RoundRobinTournament> finish(const QDate& today);

    // The tournament finishing would save (without saving it).
    RoundRobinTournament buildTournament(const QDate& today) const;

    static Message sameNameMessage();
    static Message tooManyMessage();

private:
    void updateSummary();

    QString m_kind;
    QString m_workingDir;
    SaveFunction m_save;
    QString m_name;
    QString m_startDate;
    QVector<Participant> m_rows;
    int m_selected = -1;
    QString m_participantsLabel = QStringLiteral("Всего участников - 0");
    QString m_roundsLabel = QStringLiteral("Всего туров - ");
    QString m_gamesLabel = QStringLiteral("Всего партий - ");
    QString m_coefficientLabel = QStringLiteral("Коэффициент турнира - ");
    QString m_averageLabel = QStringLiteral("Средний ЭЛО турнира - ");
};

} // namespace ladya
