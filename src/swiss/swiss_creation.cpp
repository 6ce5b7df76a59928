#include "swiss/swiss_creation.h"

#include "common/text_file.h"
#include "common/tournament_creation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <utility>

namespace ladya {

namespace {

// Columns of a creation list row.
enum Column { NumberColumn, NameColumn, CityColumn, CategoryColumn, RatingColumn };

} // namespace

QVector<QStringList> orderByRating(QVector<QStringList> rows, int ratingColumn) {
    const int count = int(rows.size());
    for (int i = 0; i < count - 1; ++i) {
        for (int j = i + 1; j < count; ++j) {
            if (parseLenientInt(rows[i].value(ratingColumn)) <
                parseLenientInt(rows[j].value(ratingColumn)))
                std::swap(rows[i], rows[j]);
        }
    }
    return rows;
}

QString swissFileName(const QString& tournamentName, const QDate& creationDay) {
    return tournamentFileName(tournamentName, creationDay, QStringLiteral("swz"));
}

SwissTournament makeSwissTournament(const QVector<QStringList>& listRows, const QString& startDate,
                                    const QString& path) {
    SwissTournament t;
    t.state.path = path;
    t.state.startDate = startDate;
    const QVector<QStringList> ordered = orderByRating(listRows, RatingColumn);
    for (int i = 0; i < ordered.size(); ++i) {
        const QStringList& row = ordered[i];
        t.participants.append({QString::number(i + 1), row.value(NameColumn),
                               row.value(CategoryColumn), row.value(RatingColumn),
                               row.value(CityColumn)});
    }
    if (t.participants.size() % 2 == 1)
        t.participants.append(makeByeRow(int(t.participants.size()) + 1));
    t.deriveCounts();
    return t;
}

QStringList SwissCreationController::roundItems() {
    QStringList items{QString()};
    for (int r = 5; r <= 13; ++r)
        items << QString::number(r);
    return items;
}

void SwissCreationController::setName(const QString& name) {
    m_name = name;
    applyRules();
}

QString SwissCreationTexts::bakuCheckBox() {
    return QCoreApplication::translate("SwissCreation", "Ускорение по Баку");
}

void SwissCreationController::setBaku(bool on) {
    m_baku = on;
    applyRules();
}

void SwissCreationController::setRoundsText(const QString& text) {
    m_roundsText = text;
    applyRules();
}

Result<> SwissCreationController::addParticipant(const QString& selectedRowText) {
    Result<> added;
    if (!selectedRowText.isEmpty()) {
        const QStringList fields = selectedRowText.split(u'\n');
        QStringList row{QString::number(participantCount() + 1), fields.value(1), fields.value(2),
                        fields.value(3), fields.value(4)};
        bool duplicate = false;
        for (const QStringList& existing : std::as_const(m_rows)) {
            if (existing[NameColumn] == row[NameColumn] && existing[CityColumn] == row[CityColumn])
                duplicate = true;
        }
        if (duplicate) {
            added = duplicateParticipantMessage();
        } else if (participantCount() >= Limits::SwissParticipants) {
            // 300 players fill the table; with 299 the bye participant is the 300th.
            added = Message{QStringLiteral("Ошибка"),
                            QStringLiteral("В турнире по швейцарской системе может быть не "
                                           "более %1 участников.")
                                .arg(Limits::SwissParticipants)};
        } else {
            m_rows.append(row);
        }
        m_selectedNumber = -1;
    }
    applyRules();
    return added;
}

void SwissCreationController::clickRow(int row) {
    if (row >= 0 && row < m_rows.size())
        m_selectedNumber = m_rows[row][NumberColumn].toInt();
    applyRules();
}

void SwissCreationController::removeSelected() {
    const int position = m_selectedNumber - 1;
    if (position >= 0 && position < m_rows.size()) {
        m_rows.removeAt(position);
        for (int i = 0; i < m_rows.size(); ++i)
            m_rows[i][NumberColumn] = QString::number(i + 1);
    }
    m_selectedNumber = -1;
    applyRules();
}

void SwissCreationController::applyRules() {
    constexpr int MinParticipants = 14;
    constexpr int MinNameLength = 4;
    const bool enoughPlayers = participantCount() >= MinParticipants;
    const bool nameLongEnough = m_name.size() >= MinNameLength;
    m_roundsEnabled = enoughPlayers;
    if (!m_roundsEnabled) {
        m_roundsText.clear();
        m_baku = false;
    }
    m_finishEnabled = enoughPlayers && nameLongEnough && !m_roundsText.isEmpty();
    m_removeEnabled = m_selectedNumber != -1;
    m_countLabel = QStringLiteral("Всего участников - ") + QString::number(participantCount());

    // The grey "Завершить" alone does not say what it waits for.
    QStringList missing;
    if (!enoughPlayers)
        missing << QCoreApplication::translate("SwissCreation", "участников (%1 из %2)")
                       .arg(participantCount())
                       .arg(MinParticipants);
    if (!nameLongEnough)
        missing << QCoreApplication::translate("SwissCreation",
                                               "названия турнира (не короче %1 символов)")
                       .arg(MinNameLength);
    if (m_roundsText.isEmpty())
        missing << QCoreApplication::translate("SwissCreation", "количества туров");
    m_missingText = missing.isEmpty()
                        ? QString()
                        : QCoreApplication::translate("SwissCreation", "Не хватает: %1")
                              .arg(missing.join(QStringLiteral("; ")));
}

std::optional<Message> SwissCreationController::closeQuestion() const {
    return discardParticipantsQuestion(participantCount());
}

Result<SwissTournament> SwissCreationController::finish(const QString& workingDir,
                                                        const QDate& today) const {
    // A name that cannot be a file name must not reach the file system: a separator in
    // it would write outside the working folder.
    if (Result<> named = fileNameCheck(m_name); !named)
        return named.failure();
    const QString path = QDir(workingDir).filePath(swissFileName(m_name, today));
    if (QFileInfo::exists(path))
        return tournamentExistsMessage(path);
    SwissTournament t = makeSwissTournament(m_rows, m_startDate, path);
    // The planned rounds are kept beside the file: the pairing needs its last round.
    t.extras.plannedRounds = parseLenientInt(m_roundsText);
    t.extras.acceleration.baku = m_baku;
    t.extras.tieBreaks = m_tieBreaks;
    if (Result<> saved = saveSwiss(t); !saved)
        return saved.failure();
    return t;
}

} // namespace ladya
