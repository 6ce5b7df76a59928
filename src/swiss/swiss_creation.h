// Creating a Swiss tournament: the creation window's state and rules without widgets,
// and the numbering of the participants by rating.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "common/tournament_creation.h"
#include "swiss/swiss_controller.h"
#include "swiss/swiss_file.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

// Orders rows of (name, city, category, rating) by rating, highest first, with the
// exchange procedure: equal ratings end in the order the exchanges leave, which is
// not always the order of entry. `ratingColumn` is the index of the rating text.
QVector<QStringList> orderByRating(QVector<QStringList> rows, int ratingColumn);

// "Кубок клуба" created on 05.12.2026 → "Кубок_клуба_(05.12.2026).swz".
QString swissFileName(const QString& tournamentName, const QDate& creationDay);

// The new tournament: participants numbered by rating from the creation list rows
// ("№", "Ф.И.О участника", "Страна/Город", "Разряд", "Рейтинг"), the bye participant
// added for an odd count, no round paired.
SwissTournament makeSwissTournament(const QVector<QStringList>& listRows, const QString& startDate,
                                    const QString& path);

// The fixed text the Swiss creation window adds to those of both kinds.
namespace SwissCreationTexts {
inline const QString RoundsLabel = QStringLiteral("Количество туров");
QString bakuCheckBox(); // "Ускорение по Баку" (translatable)
} // namespace SwissCreationTexts

class SwissCreationController : public TournamentCreation {
public:
    SwissCreationController() { applyRules(); }
    static QString windowTitle() {
        return QStringLiteral("Создание нового турнира (швейцарская система)");
    }
    static QStringList roundItems(); // "", "5" … "13"

    // Edits. Each applies the rules afterwards.
    void setName(const QString& name) override;
    void setStartDate(const QString& date) override { m_startDate = date; }
    void setRoundsText(const QString& text);
    // Baku acceleration from round 1; offered with the rounds, which it needs.
    void setBaku(bool on);
    // A duplicate (name and city) or a participant beyond the table is refused.
    Result<> addParticipant(const QString& selectedRowText) override;
    void clickRow(int row) override;
    void removeSelected() override;

    std::optional<Message> closeQuestion() const override;

    // "Завершить": names the file after the tournament and `today`, numbers the players
    // by rating, adds the bye participant for an odd count, keeps the planned rounds (and
    // the acceleration) and saves in `workingDir`.
    // The saved tournament, which the Swiss window opens on; on failure the window stays
    // as it was.
    Result<SwissTournament> finish(const QString& workingDir, const QDate& today) const;

    QVector<QStringList> participantRows() const override { return m_rows; }
    int participantCount() const override { return int(m_rows.size()); }
    int selectedNumber() const { return m_selectedNumber; }
    QString name() const { return m_name; }
    QString startDate() const { return m_startDate; }
    QString roundsText() const { return m_roundsText; }
    bool roundsEnabled() const { return m_roundsEnabled; }
    bool baku() const { return m_baku; }
    bool finishEnabled() const override { return m_finishEnabled; }
    bool removeEnabled() const override { return m_removeEnabled; }
    QString countLabel() const { return m_countLabel; }
    // What "Завершить" still waits for (participants, the name, the number of rounds);
    // "" once it is enabled.
    QString missingText() const { return m_missingText; }

    void applyRules();

private:
    QVector<QStringList> m_rows;
    int m_selectedNumber = -1;
    QString m_name;
    QString m_startDate;
    QString m_roundsText;
    bool m_baku = false;
    bool m_roundsEnabled = false;
    bool m_finishEnabled = false;
    bool m_removeEnabled = false;
    QString m_countLabel = QStringLiteral("Всего участников - 0");
    QString m_missingText;
};

} // namespace ladya
