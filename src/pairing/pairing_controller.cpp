#include "pairing/pairing_controller.h"

#include "common/text_file.h"

namespace ladya {

namespace {

const QString Step2Prefix = QStringLiteral("2. Выберите подходящую пару игроку ");

std::optional<int> numberOfRow(const QVector<QStringList>& rows, int row) {
    if (row < 0 || row >= rows.size())
        return std::nullopt;
    return rows[row][0].toInt();
}

} // namespace

PairDialogController::PairDialogController(const PairingEngine& engine, int first, int second,
                                           int editedRow)
    : m_engine(&engine), m_first(first), m_second(second), m_editedRow(editedRow) {}

PairDialogController PairDialogController::forCreation(const PairingEngine& engine, int first,
                                                       int second) {
    return PairDialogController(engine, first, second, -1);
}

PairDialogController PairDialogController::forEditing(const PairingEngine& engine, int pairRow) {
    const PairRow& row = engine.pairList().at(pairRow);
    return PairDialogController(engine, row.white, row.black, pairRow);
}

QString PairDialogController::title() const {
    return isEditing() ? QStringLiteral("Редактирование игровой пары")
                       : QStringLiteral("Создание игровой пары");
}

QString PairDialogController::confirmText() const {
    return isEditing() ? QStringLiteral("Записать пару") : QStringLiteral("Создать пару");
}

QVector<ListColumn> PairDialogController::statisticsColumns() const {
    const SwissTournament& t = m_engine->tournament();
    return {{QStringLiteral("Статистика / ФИО"), 130},
            {t.nameOf(m_first), 130},
            {t.nameOf(m_second), 130}};
}

QVector<QStringList> PairDialogController::statisticsRows() const {
    const SwissTournament& t = m_engine->tournament();
    const SwissFigures& a = m_engine->standings().of(m_first);
    const SwissFigures& b = m_engine->standings().of(m_second);
    auto row = [](const QString& label, const QString& x, const QString& y) {
        return QStringList{label, x, y};
    };
    return {
        row(QStringLiteral("Рейтинг"), t.participant(m_first).rating,
            t.participant(m_second).rating),
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
    };
}

QVector<ListColumn> PairDialogController::colourColumns() {
    return {{QStringLiteral("Белые"), 130}, {QStringLiteral("Чёрные"), 120}};
}

QStringList PairDialogController::colourRow() const {
    const SwissTournament& t = m_engine->tournament();
    return {t.nameOf(white()), t.nameOf(black())};
}

void PairDialogController::confirm(PairingEngine& engine) {
    // The colours follow the toggle, not the names shown: two participants of the same
    // name (from different cities) could not be told apart by them.
    if (isEditing() && m_editedRow < engine.pairList().size())
        engine.pairList().removeAt(m_editedRow);
    engine.pairList().append(engine.makePairRow(white(), black()));
    m_pairMade = true;
}

void PairDialogController::remove(PairingEngine& engine) {
    if (isEditing() && m_editedRow < engine.pairList().size())
        engine.pairList().removeAt(m_editedRow);
}

PairingController::PairingController(const SwissTournament& tournament,
                                     const SwissStandings& standings)
    : m_engine(tournament, standings), m_step2Caption(Step2Prefix) {
    m_engine.buildUnpairedList();
}

QString PairingController::title() const {
    return QStringLiteral("Жеребьёвка ") + QString::number(m_engine.pairedRound()) +
           QStringLiteral(" тура");
}

QString PairingController::pairsCaption() const {
    return QStringLiteral("Готовые пары ") + QString::number(m_engine.pairedRound()) +
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
    for (const PairRow& row : m_engine.pairList())
        rows.append(row.cells());
    return rows;
}

void PairingController::clickPlayerList(int row) {
    m_first = numberOfRow(playerRows(), row);
    m_engine.clearCandidates();
    m_second.reset();
    if (m_first) {
        m_forceEnabled = true;
        m_step2Caption =
            Step2Prefix + QString::number(*m_first) + u'.' + m_engine.tournament().nameOf(*m_first);
        m_allowance = 0.0f;
        m_engine.buildCandidates(*m_first, m_allowance);
        if (m_engine.candidateList().isEmpty())
            m_allowanceEnabled = true;
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
        m_engine.buildCandidates(*m_first, m_allowance);
    applyRules();
}

void PairingController::force() {
    if (m_first)
        m_engine.forceCandidates(*m_first);
    m_forceEnabled = false;
    applyRules();
}

void PairingController::clickPairList(int row) {
    m_selectedPair = row >= 0 && row < m_engine.pairList().size() ? row : -1;
    m_editEnabled = m_selectedPair >= 0;
    applyRules();
}

void PairingController::pairsChanged() {
    m_engine.buildUnpairedList();
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
    const int pairs = int(m_engine.pairList().size());
    if (pairs == 0)
        return std::nullopt;
    return Message{QStringLiteral("Закрытие окна"),
                   QStringLiteral("Составлено пар: %1. Жеребьёвка тура ещё не записана, и при "
                                  "закрытии окна пары пропадут.\nЗакрыть окно?")
                       .arg(pairs)};
}

QString PairingController::autoPairToolTip() const {
    return QStringLiteral("Составить все пары %1 тура по голландской системе ФИДЕ; пары можно "
                          "затем изменить, поменять местами или удалить.")
        .arg(m_engine.pairedRound());
}

std::optional<Message> PairingController::autoPair() {
    DutchOptions options;
    options.initialColour =
        initialColourEnabled()
            ? m_initialColour
            : initialColourFromRoundOne(m_engine.tournament()).value_or(InitialColour::White);
    options.plannedRounds = m_lastRound ? m_engine.pairedRound() : 0;
    // A search left listed would hold the commit back: the proposal replaces it.
    m_engine.clearCandidates();
    std::optional<Message> refused = m_engine.proposeDutchPairing(options);
    pairsChanged();
    applyRules();
    return refused;
}

PairingEngine::CommitResult PairingController::finish() {
    PairingEngine::CommitResult result = m_engine.commitRoundPairing();
    if (!result.tournament)
        applyRules();
    return result;
}

void PairingController::applyRules() {
    if (!m_engine.candidateList().isEmpty()) {
        m_allowanceEnabled = false;
        m_allowance = 0.0f;
    }
    if (!m_first)
        m_step2Caption = Step2Prefix;
    m_createEnabled = m_first.has_value() && m_second.has_value();
    m_finishEnabled = m_engine.unpairedList().isEmpty() && m_engine.candidateList().isEmpty();
}

} // namespace ladya
