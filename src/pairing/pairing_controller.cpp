#include "pairing/pairing_controller.h"

#include "common/text_file.h"

#include <cstdlib>
#include <string>

namespace ladya {

namespace {

const QString Step2Prefix = QStringLiteral("2. Выберите подходящую пару игроку ");

std::optional<int> numberOfRow(const QVector<QStringList>& rows, int row) {
    if (row < 0 || row >= rows.size())
        return std::nullopt;
    return rows[row][0].toInt();
}

// "Б Ч –": White, Black, or no game, round by round.
QString colourSequence(const DutchColourHistory& history) {
    QStringList colours;
    for (char c : history.rounds)
        colours << (c == 'W'   ? PairDialogController::tr("Б")
                    : c == 'B' ? PairDialogController::tr("Ч")
                               : QStringLiteral("–"));
    return colours.join(u' ');
}

QString colourName(char colour) {
    return colour == 'W' ? PairDialogController::tr("белые") : PairDialogController::tr("чёрные");
}

QString preferenceText(const DutchColourHistory& history) {
    switch (history.strength) {
    case ColourStrength::Absolute:
        return PairDialogController::tr("%1, абсолютное").arg(colourName(history.preference));
    case ColourStrength::Strong:
        return PairDialogController::tr("%1, сильное").arg(colourName(history.preference));
    case ColourStrength::Mild:
        return PairDialogController::tr("%1, слабое").arg(colourName(history.preference));
    case ColourStrength::None:
        break;
    }
    return PairDialogController::tr("нет");
}

} // namespace

PairDialogController::PairDialogController(const PairingWorkbench& workbench, int first, int second,
                                           int editedRow, InitialColour initial)
    : m_workbench(&workbench),
      m_rules(dutchColours(workbench.tournament(), DutchOptions{initial, 0, {}}, first, second)),
      m_first(first), m_second(second), m_editedRow(editedRow) {}

PairDialogController PairDialogController::forCreation(const PairingWorkbench& workbench, int first,
                                                       int second, InitialColour initial) {
    PairDialogController dialog(workbench, first, second, -1, initial);
    // A hand-made pair gets the colours an automatic one would.
    if (dialog.m_rules.white != first)
        dialog.swap();
    return dialog;
}

PairDialogController PairDialogController::forEditing(const PairingWorkbench& workbench,
                                                      int pairRow, InitialColour initial) {
    const PairRow& row = workbench.pairList().at(pairRow);
    return PairDialogController(workbench, row.white, row.black, pairRow, initial);
}

QString PairDialogController::title() const {
    return isEditing() ? QStringLiteral("Редактирование игровой пары")
                       : QStringLiteral("Создание игровой пары");
}

QString PairDialogController::confirmText() const {
    return isEditing() ? QStringLiteral("Записать пару") : QStringLiteral("Создать пару");
}

QVector<ListColumn> PairDialogController::statisticsColumns() const {
    const SwissTournament& t = m_workbench->tournament();
    return {{QStringLiteral("Статистика / ФИО"), 130},
            {t.nameOf(m_first), 130},
            {t.nameOf(m_second), 130}};
}

QVector<QStringList> PairDialogController::statisticsRows() const {
    const SwissTournament& t = m_workbench->tournament();
    // The bye row a commit is still to add (an odd field without one) has no figures.
    const auto figuresOf = [&](int number) {
        return t.hasParticipant(number) ? m_workbench->standings().of(number) : SwissFigures{};
    };
    const auto ratingOf = [&](int number) {
        return t.hasParticipant(number) ? t.participant(number).rating : QString();
    };
    const SwissFigures a = figuresOf(m_first);
    const SwissFigures b = figuresOf(m_second);
    auto row = [](const QString& label, const QString& x, const QString& y) {
        return QStringList{label, x, y};
    };
    return {
        row(QStringLiteral("Рейтинг"), ratingOf(m_first), ratingOf(m_second)),
        row(QStringLiteral("Очки"), pointsText(a.points), pointsText(b.points)),
        row(QStringLiteral("Белые"), QString::number(a.whiteCount), QString::number(b.whiteCount)),
        row(QStringLiteral("Чёрные"), QString::number(a.blackCount), QString::number(b.blackCount)),
        row(QStringLiteral("Спуски (очки)"), floatText(a.downFloat), floatText(b.downFloat)),
        row(QStringLiteral("Подъёмы (очки)"), floatText(a.upFloat), floatText(b.upFloat)),
        row(QStringLiteral("Коэф. Бухг."), coefficientText(a.buchholz),
            coefficientText(b.buchholz)),
        row(QStringLiteral("Коэф. Прогр."), coefficientText(a.progressive),
            coefficientText(b.progressive)),
        row(QStringLiteral("Ср. Эло соперников"), QString::number(a.averageOpponentRating),
            QString::number(b.averageOpponentRating)),
        row(tr("Цвета по турам"), colourSequence(historyOf(m_first)),
            colourSequence(historyOf(m_second))),
        row(tr("Предпочтение цвета"), preferenceText(historyOf(m_first)),
            preferenceText(historyOf(m_second))),
    };
}

DutchColourHistory PairDialogController::historyOf(int number) const {
    if (number == m_rules.white)
        return m_rules.whiteHistory;
    if (number == m_rules.black)
        return m_rules.blackHistory;
    return {};
}

QString PairDialogController::colourAdvice() const {
    const SwissTournament& t = m_workbench->tournament();
    if (m_rules.rule == ColourRule::Bye)
        return tr("Свободный от игры тур: цвета не играют роли.");
    // The number tells namesakes apart; a name may end in a full stop.
    const auto player = [&](int number) {
        return tr("%1 (№%2)").arg(t.nameOf(number), QString::number(number));
    };
    const DutchColourHistory& w = m_rules.whiteHistory;
    const DutchColourHistory& b = m_rules.blackHistory;
    const int higher = m_rules.higherRanked;
    // The colour both want, when they want the same.
    const QString wanted = colourName(w.preference);
    QString why;
    switch (m_rules.rule) {
    case ColourRule::Bye:
        break;
    case ColourRule::BothPreferences:
        if (w.preference && b.preference)
            why = tr("Оба получают желаемый цвет.");
        else
            why = tr("Желаемый цвет получает игрок %1; у игрока %2 предпочтения цвета нет.")
                      .arg(player(w.preference ? m_rules.white : m_rules.black),
                           player(w.preference ? m_rules.black : m_rules.white));
        break;
    case ColourRule::StrongerPreference: {
        const int granted = w.preference == 'W' ? m_rules.white : m_rules.black;
        why = tr("Оба предпочитают %1; выполнено более сильное предпочтение игрока %2.")
                  .arg(wanted, player(granted));
        break;
    }
    case ColourRule::WiderDifference: {
        const bool whiteGranted = w.preference == 'W';
        const DutchColourHistory& g = whiteGranted ? w : b;
        const DutchColourHistory& o = whiteGranted ? b : w;
        why = tr("Оба должны получить %1; их получает игрок %2: разница цветов у него больше "
                 "(%3 против %4).")
                  .arg(wanted, player(whiteGranted ? m_rules.white : m_rules.black),
                       QString::number(std::abs(g.difference)),
                       QString::number(std::abs(o.difference)));
        break;
    }
    case ColourRule::Alternation:
        why = tr("Оба предпочитают %1; цвета чередуются от последних партий, в которых цвета у "
                 "них различались: тогда игрок %2 играл чёрными.")
                  .arg(wanted, player(m_rules.white));
        break;
    case ColourRule::HigherRanked:
        why = tr("Оба предпочитают %1, и цвета их партий ни разу не различались; выполнено "
                 "предпочтение игрока %2, стоящего выше в жеребьёвке.")
                  .arg(wanted, player(higher));
        break;
    case ColourRule::PairingNumber: {
        const QString got = higher == m_rules.white ? tr("белые") : tr("чёрные");
        const int number = m_rules.higherPairingNumber;
        if (number != higher) {
            // Players who have not entered the tournament yet hold no pairing number.
            const QString parity = number % 2 == 1 ? tr("нечётный") : tr("чётный");
            const QString first = number % 2 == 1
                                      ? tr("цвет первого номера в 1 туре")
                                      : tr("цвет, обратный цвету первого номера в 1 туре");
            why = tr("Предпочтений цвета нет: игрок %1 стоит выше в жеребьёвке; среди участников, "
                     "уже вступивших в турнир, его номер %2 — %3, и он получает %4 (%5).")
                      .arg(player(higher), QString::fromStdString(std::to_string(number)), parity,
                           first, got);
            break;
        }
        why = higher % 2 == 1
                  ? tr("Предпочтений цвета нет: игрок %1 стоит выше в жеребьёвке, его номер "
                       "нечётный, и он получает цвет первого номера в 1 туре (%2).")
                        .arg(player(higher), got)
                  : tr("Предпочтений цвета нет: игрок %1 стоит выше в жеребьёвке, его номер "
                       "чётный, и он получает цвет, обратный цвету первого номера в 1 туре (%2).")
                        .arg(player(higher), got);
        break;
    }
    }
    QString advice = tr("По правилам: белые — %1, чёрные — %2. %3")
                         .arg(player(m_rules.white), player(m_rules.black), why);
    if (white() != m_rules.white)
        advice += u'\n' + tr("Сейчас цвета обратные предложенным.");
    return advice;
}

QVector<ListColumn> PairDialogController::colourColumns() {
    return {{QStringLiteral("Белые"), 130}, {QStringLiteral("Чёрные"), 120}};
}

QStringList PairDialogController::colourRow() const {
    const SwissTournament& t = m_workbench->tournament();
    return {t.nameOf(white()), t.nameOf(black())};
}

void PairDialogController::confirm(PairingWorkbench& workbench) {
    // The colours follow the toggle, not the names shown: two participants of the same
    // name (from different cities) could not be told apart by them.
    if (isEditing() && m_editedRow < workbench.pairList().size())
        workbench.pairList().removeAt(m_editedRow);
    workbench.pairList().append(workbench.makePairRow(white(), black()));
    m_pairMade = true;
}

void PairDialogController::remove(PairingWorkbench& workbench) {
    if (isEditing() && m_editedRow < workbench.pairList().size())
        workbench.pairList().removeAt(m_editedRow);
}

PairingController::PairingController(const SwissTournament& tournament,
                                     const SwissStandings& standings)
    : m_workbench(tournament, standings), m_step2Caption(Step2Prefix) {
    m_workbench.buildUnpairedList();
}

QString PairingController::title() const {
    return QStringLiteral("Жеребьёвка ") + QString::number(m_workbench.pairedRound()) +
           QStringLiteral(" тура");
}

QString PairingController::pairsCaption() const {
    return QStringLiteral("Готовые пары ") + QString::number(m_workbench.pairedRound()) +
           QStringLiteral(" тура");
}

QString PairingController::allowanceText() const {
    return QStringLiteral("Спуск = ") + formatFixed(m_allowance, 1) + QStringLiteral(" очк.");
}

QVector<ListColumn> PairingController::pairColumns() {
    return {{QStringLiteral("№"), 30},      {QStringLiteral("Очки"), 35},
            {QStringLiteral("Белые"), 105}, {QStringLiteral("Черные"), 105},
            {QStringLiteral("Очки"), 35},   {QStringLiteral("№"), 30}};
}

QVector<ListColumn> PairingController::playerColumns() {
    const QStringList titles = playerListTitles();
    const QVector<int> widths = playerListWidths();
    QVector<ListColumn> columns;
    for (int i = 0; i < titles.size(); ++i)
        columns.append({titles[i], widths[i]});
    return columns;
}

QVector<QStringList> PairingController::pairRows() const {
    QVector<QStringList> rows;
    for (const PairRow& row : m_workbench.pairList())
        rows.append(row.cells());
    return rows;
}

void PairingController::clickPlayerList(int row) {
    m_first = numberOfRow(playerRows(), row);
    m_searched = m_first;
    m_workbench.clearCandidates();
    m_second.reset();
    m_allowance = 0.0f;
    m_allowanceEnabled = false;
    if (m_first) {
        m_forceEnabled = true;
        m_step2Caption = Step2Prefix + QString::number(*m_first) + u'.' +
                         m_workbench.tournament().nameOf(*m_first);
        m_workbench.buildCandidates(*m_first, m_allowance);
        m_allowanceEnabled = m_workbench.candidateList().isEmpty();
    }
    applyRules();
}

void PairingController::clickCandidateList(int row) {
    m_second = numberOfRow(candidateRows(), row);
    applyRules();
}

void PairingController::raiseAllowance() {
    m_allowance += 0.5f;
    if (m_first)
        m_workbench.buildCandidates(*m_first, m_allowance);
    applyRules();
}

void PairingController::force() {
    if (m_first)
        m_workbench.forceCandidates(*m_first);
    m_forceEnabled = false;
    applyRules();
}

void PairingController::clickPairList(int row) {
    m_selectedPair = row >= 0 && row < m_workbench.pairList().size() ? row : -1;
    m_editEnabled = m_selectedPair >= 0;
    applyRules();
}

void PairingController::pairsChanged() {
    m_workbench.buildUnpairedList();
    // The search of a player now paired is over: nothing is left to choose from it,
    // and it would hold the commit back.
    if (m_searched && m_workbench.pairedNumbers().contains(*m_searched)) {
        m_workbench.clearCandidates();
        m_searched.reset();
        m_allowance = 0.0f;
        m_allowanceEnabled = false;
    }
    m_first.reset();
    m_second.reset();
    m_forceEnabled = false;
    // The pair list is refilled, so no row of it stays selected.
    m_selectedPair = -1;
    m_editEnabled = false;
}

void PairingController::creationDialogClosed(const PairDialogController& dialog) {
    if (dialog.pairMade())
        pairsChanged();
    applyRules();
}

void PairingController::editingDialogClosed() {
    pairsChanged();
    applyRules();
}

std::optional<Message> PairingController::closeQuestion() const {
    const int pairs = int(m_workbench.pairList().size());
    if (pairs == 0)
        return std::nullopt;
    return Message{QStringLiteral("Закрытие окна"),
                   QStringLiteral("Составлено пар: %1. Жеребьёвка тура ещё не записана, и при "
                                  "закрытии окна пары пропадут.\nЗакрыть окно?")
                       .arg(pairs)};
}

QString PairingController::autoPairToolTip() const {
    if (!m_workbench.pairList().isEmpty())
        return tr("Составить пары остальных игроков %1 тура по голландской системе ФИДЕ; "
                  "составленные пары остаются как есть.")
            .arg(m_workbench.pairedRound());
    return QStringLiteral("Составить все пары %1 тура по голландской системе ФИДЕ; пары можно "
                          "затем изменить, поменять местами или удалить.")
        .arg(m_workbench.pairedRound());
}

DutchOptions PairingController::dutchOptions() const {
    DutchOptions options;
    options.initialColour =
        initialColourEnabled()
            ? m_initialColour
            : initialColourFromRoundOne(m_workbench.tournament()).value_or(InitialColour::White);
    // Planned rounds known: the engine reads them from the tournament.
    if (!lastRoundFixed())
        options.plannedRounds = m_lastRound ? m_workbench.pairedRound() : 0;
    return options;
}

bool PairingController::lastRound() const {
    if (!lastRoundFixed())
        return m_lastRound;
    return m_workbench.pairedRound() == m_workbench.tournament().extras.plannedRounds;
}

PairDialogController PairingController::creationDialog() const {
    return PairDialogController::forCreation(m_workbench, m_first.value_or(0), m_second.value_or(0),
                                             dutchOptions().initialColour);
}

PairDialogController PairingController::editingDialog() const {
    return PairDialogController::forEditing(m_workbench, m_selectedPair,
                                            dutchOptions().initialColour);
}

Result<> PairingController::autoPair() {
    Result<> proposed = m_workbench.proposeDutchPairing(dutchOptions());
    // Refused, nothing changed; else everyone is paired, the searched player too, so
    // his search goes with the selections.
    if (proposed)
        pairsChanged();
    applyRules();
    return proposed;
}

Result<CommittedRound> PairingController::finish() {
    Result<CommittedRound> committed = m_workbench.commitRoundPairing();
    if (!committed)
        applyRules();
    return committed;
}

void PairingController::applyRules() {
    // The allowance stays shown as the one the listed candidates were found with.
    if (!m_workbench.candidateList().isEmpty())
        m_allowanceEnabled = false;
    if (!m_first)
        m_step2Caption = Step2Prefix;
    m_createEnabled = m_first.has_value() && m_second.has_value();
    m_finishEnabled = m_workbench.unpairedList().isEmpty() && m_workbench.candidateList().isEmpty();
}

} // namespace ladya
