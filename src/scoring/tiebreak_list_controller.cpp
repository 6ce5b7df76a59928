#include "scoring/tiebreak_list_controller.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>
#include <utility>

namespace ladya {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("TieBreakList", text);
}

// The acronyms the editor offers, in the order the regulations list them. Which of them
// take which modifier is the parser's to say: the editor asks it.
const char* const Acronyms[] = {"BH",   "FB", "AOB", "SB",  "KS",  "ARO", "TPR", "PTP", "APRO",
                                "APPO", "DE", "WIN", "WON", "BPG", "BWG", "GE",  "PS"};
const char* const Modifiers[] = {"C1", "C2", "M1", "M2"};

std::optional<TieBreak> parsedEntry(const QString& text) {
    const Result<TieBreakList> parsed = parseTieBreakList(text);
    if (!parsed || parsed->size() != 1)
        return std::nullopt;
    return parsed->front();
}

} // namespace

TieBreakListController::TieBreakListController(const QString& listText, bool roundRobin,
                                               bool finished)
    : m_recommended(recommendedTieBreakLists(roundRobin)), m_finished(finished) {
    // A stored text the program no longer reads is shown as the empty list, and saying so
    // beats hiding it.
    if (Result<TieBreakList> parsed = parseTieBreakList(listText)) {
        m_initial = *parsed;
    } else {
        m_notice = parsed.failure().text;
    }
    m_list = m_initial;
    m_typed = tieBreakListText(m_list);
    for (const char* acronym : Acronyms) {
        const QString name = QString::fromLatin1(acronym);
        if (!parsedEntry(name))
            continue;
        Known known{name, {QString()}};
        for (const char* modifier : Modifiers) {
            if (parsedEntry(name + u'/' + QLatin1String(modifier)))
                known.modifiers << QString::fromLatin1(modifier);
        }
        m_knowns.push_back(std::move(known));
    }
    if (m_finished)
        m_notice = finishedRefusal();
}

QString TieBreakListController::windowTitle() {
    return tr("Тай-брейки");
}

QString TieBreakListController::openButton() {
    return tr("Тай-брейки…");
}

QString TieBreakListController::finishedRefusal() {
    return tr("Турнир завершён: список тай-брейков больше не меняется");
}

QString TieBreakListController::buttonHint(const QString& listText, bool editable) {
    return editable ? chosenLine(listText) : finishedRefusal();
}

QString TieBreakListController::chosenLine(const QString& listText) {
    const Result<TieBreakList> list = parseTieBreakList(listText);
    QStringList titles;
    if (list) {
        for (const TieBreak& entry : *list)
            titles << tieBreakTitle(entry);
    }
    if (titles.isEmpty())
        return tr("Тай-брейки: порядок программы");
    return tr("Тай-брейки: %1").arg(titles.join(QStringLiteral(", ")));
}

QStringList TieBreakListController::entryLabels() const {
    QStringList labels;
    for (size_t k = 0; k < m_list.size(); ++k)
        labels << tr("%1. %2").arg(QString::number(k + 1), tieBreakLegend(m_list[k]));
    return labels;
}

QString TieBreakListController::orderLine() const {
    if (m_list.empty())
        return tr("Список пуст: места по очкам и коэффициентам программы");
    QStringList titles;
    for (const TieBreak& entry : m_list)
        titles << tieBreakTitle(entry);
    return tr("Места: по очкам, затем %1").arg(titles.join(QStringLiteral(", ")));
}

void TieBreakListController::selectRow(int row) {
    m_selected = row >= 0 && row < int(m_list.size()) ? row : -1;
}

QStringList TieBreakListController::knownLabels() const {
    QStringList labels;
    for (const Known& known : m_knowns)
        labels << tieBreakLegend(*parsedEntry(known.acronym));
    return labels;
}

void TieBreakListController::chooseKnown(int index) {
    if (index < 0 || index >= int(m_knowns.size()))
        return;
    m_known = index;
    m_modifier = 0;
}

QStringList TieBreakListController::modifierLabels() const {
    QStringList labels;
    if (m_knowns.empty())
        return labels;
    const Known& known = m_knowns[size_t(m_known)];
    for (const QString& modifier : known.modifiers) {
        if (modifier.isEmpty())
            labels << tr("без модификатора");
        else
            labels << tieBreakLegend(*parsedEntry(known.acronym + u'/' + modifier));
    }
    return labels;
}

void TieBreakListController::chooseModifier(int index) {
    if (!m_knowns.empty() && index >= 0 && index < int(m_knowns[size_t(m_known)].modifiers.size()))
        m_modifier = index;
}

bool TieBreakListController::addEnabled() const {
    return editable() && !m_knowns.empty();
}

Result<> TieBreakListController::add() {
    if (!addEnabled())
        return {};
    const Known& known = m_knowns[size_t(m_known)];
    const QString modifier = known.modifiers.value(m_modifier);
    const QString entry = modifier.isEmpty() ? known.acronym : known.acronym + u'/' + modifier;
    // The parser holds the rules of a list (no entry twice, at most ten): the longer
    // list is taken only as it would be typed.
    const QString text =
        m_list.empty() ? entry : tieBreakListText(m_list) + QStringLiteral(",") + entry;
    Result<TieBreakList> parsed = parseTieBreakList(text);
    if (!parsed)
        return refuse(parsed.failure());
    const int last = int(parsed->size()) - 1;
    setList(std::move(parsed).value(), last);
    return {};
}

bool TieBreakListController::removeEnabled() const {
    return editable() && m_selected >= 0;
}

void TieBreakListController::remove() {
    if (!removeEnabled())
        return;
    TieBreakList list = m_list;
    list.erase(list.begin() + m_selected);
    const int next = std::min(m_selected, int(list.size()) - 1);
    setList(std::move(list), next);
}

bool TieBreakListController::moveUpEnabled() const {
    return editable() && m_selected > 0;
}

void TieBreakListController::moveUp() {
    if (!moveUpEnabled())
        return;
    TieBreakList list = m_list;
    std::swap(list[size_t(m_selected)], list[size_t(m_selected - 1)]);
    setList(std::move(list), m_selected - 1);
}

bool TieBreakListController::moveDownEnabled() const {
    return editable() && m_selected >= 0 && m_selected + 1 < int(m_list.size());
}

void TieBreakListController::moveDown() {
    if (!moveDownEnabled())
        return;
    TieBreakList list = m_list;
    std::swap(list[size_t(m_selected)], list[size_t(m_selected + 1)]);
    setList(std::move(list), m_selected + 1);
}

bool TieBreakListController::clearEnabled() const {
    return editable() && !m_list.empty();
}

void TieBreakListController::clear() {
    if (clearEnabled())
        setList({}, -1);
}

QStringList TieBreakListController::recommendedNames() const {
    QStringList names;
    for (const RecommendedTieBreaks& r : m_recommended)
        names << r.name;
    return names;
}

void TieBreakListController::chooseRecommended(int index) {
    if (recommendedEnabled() && index >= 0 && index < int(m_recommended.size()))
        setList(m_recommended[size_t(index)].list, -1);
}

Result<> TieBreakListController::takeTypedText() {
    if (!takeTextEnabled())
        return {};
    Result<TieBreakList> parsed = parseTieBreakList(m_typed);
    if (!parsed)
        return refuse(parsed.failure());
    setList(std::move(parsed).value(), -1);
    return {};
}

void TieBreakListController::setList(TieBreakList list, int selected) {
    m_list = std::move(list);
    m_selected = selected >= 0 && selected < int(m_list.size()) ? selected : -1;
    m_typed = tieBreakListText(m_list);
    m_notice.clear();
}

Result<> TieBreakListController::refuse(const Result<>& outcome) {
    m_notice = outcome ? QString() : outcome.failure().text;
    return outcome;
}

Result<QString> tieBreakListToStore(const QString& listText, bool finished) {
    if (finished)
        return Message{TieBreakListController::windowTitle(),
                       TieBreakListController::finishedRefusal()};
    const Result<TieBreakList> list = parseTieBreakList(listText);
    if (!list)
        return list.failure();
    return tieBreakListText(*list);
}

} // namespace ladya
