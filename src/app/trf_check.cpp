#include "app/trf_check.h"

#include "common/text_file.h"
#include "exchange/trf.h"

#include <QHash>
#include <algorithm>
#include <functional>
#include <utility>

namespace ladya {

namespace {

// Whether a line of the text starts with `tag`.
bool hasRecord(QByteArrayView text, QByteArrayView tag) {
    for (qsizetype at = 0; at < text.size(); ++at) {
        if ((at == 0 || text[at - 1] == '\r' || text[at - 1] == '\n') &&
            text.sliced(at).startsWith(tag))
            return true;
    }
    return false;
}

// The round's pairs, the bye participant's game with the player first, as the engine
// gives the pairing-allocated bye.
QVector<DutchPair> filePairs(const SwissTournament& t, int round) {
    QVector<DutchPair> pairs;
    for (const SwissGame& g : t.rounds[round - 1]) {
        if (g.isEmpty())
            continue;
        pairs.append(g.white == t.byeNumber && t.byeNumber != 0 ? DutchPair{g.black, g.white}
                                                                : DutchPair{g.white, g.black});
    }
    return pairs;
}

// The number the bye's pairs carry: the bye participant's, or the row the engine's
// pairing would add for it.
int byeId(const SwissTournament& t) {
    return t.byeNumber > 0 ? t.byeNumber : t.participantCount() + 1;
}

QVector<DutchPair> missingFrom(const QVector<DutchPair>& pairs, const QVector<DutchPair>& other) {
    QVector<DutchPair> missing;
    for (const DutchPair& p : pairs) {
        if (!other.contains(p))
            missing.append(p);
    }
    return missing;
}

// The criteria below are those of the FIDE Dutch system in force from February 2026
// ("2025 rules"), numbered as that text numbers them: C1 to C3 absolute, C4 completion,
// C5 the bye's score, C6 to C21 quality; candidates in the order of its Article 4,
// colours by its Article 5.2.

QByteArray pointsText(int halves) {
    return QByteArray::number(halves / 2) + (halves % 2 != 0 ? ".5" : "");
}

// The round to judge, as the engine reads it before pairing it.
class RoundJudge {
public:
    RoundJudge(const SwissTournament& before, const DutchOptions& options, int bye)
        : m_before(before), m_options(options), m_bye(bye),
          m_players(dutchPlayerFacts(before, options)) {
        for (int i = 0; i < m_players.size(); ++i)
            m_rank.insert(m_players[i].number, i);
        for (const DutchPlayerFacts& p : m_players)
            if (m_scores.isEmpty() || m_scores.back() != p.score)
                m_scores.append(p.score);
    }

    QVector<QByteArray> judge(const QVector<DutchPair>& file,
                              const QVector<DutchPair>& dutch) const;

private:
    // A board, higher-ranked player first; the bye's board has `m_bye` second.
    using Board = std::pair<int, int>;
    struct Pairing {
        QVector<Board> boards;
        QHash<int, int> boardOf; // player -> index of the board
        int byePlayer = 0;
    };
    // One bracket as a pairing pairs it.
    struct BracketView {
        QVector<Board> pairs;      // made in the bracket (no bye)
        QVector<int> downfloaters; // leaving it (the bye's assignee from the last), by rank
    };
    struct Measure {
        const char* criterion;
        const char* what;
        bool points; // the values are scores or score differences
        QVector<int> file;
        QVector<int> dutch;
    };

    const DutchPlayerFacts& facts(int number) const { return m_players[m_rank.value(number)]; }
    int scoreOf(int number) const { return facts(number).score; }
    bool inField(int number) const { return m_rank.contains(number); }
    Board boardOf(const DutchPair& p) const;
    Pairing pairingOf(const QVector<DutchPair>& pairs) const;
    // The bracket of a board: the score of its lower player; the bye's below every one.
    int bracketOf(const Board& b) const;
    BracketView view(const Pairing& pairing, int score) const;
    QVector<QByteArray> absoluteFaults(const QVector<DutchPair>& file) const;
    QVector<Measure> measures(const Pairing& file, const Pairing& dutch, int score) const;
    QByteArray orderRule(const BracketView& file, const BracketView& dutch, int score) const;
    QVector<QByteArray> colourRules(const QVector<DutchPair>& file,
                                    const QVector<DutchPair>& dutch) const;
    void addColourCounts(const BracketView& view, QVector<int> counts[4]) const;
    void addFloatCounts(const BracketView& view, int score, QVector<int> counts[8]) const;

    const SwissTournament& m_before;
    const DutchOptions& m_options;
    const int m_bye;
    const QVector<DutchPlayerFacts> m_players; // pairing order
    QHash<int, int> m_rank;
    QVector<int> m_scores; // of the scoregroups, from the top
};

RoundJudge::Board RoundJudge::boardOf(const DutchPair& p) const {
    if (p.white == m_bye || p.black == m_bye)
        return {p.white == m_bye ? p.black : p.white, m_bye};
    const bool whiteHigher = m_rank.value(p.white) < m_rank.value(p.black);
    return whiteHigher ? Board{p.white, p.black} : Board{p.black, p.white};
}

RoundJudge::Pairing RoundJudge::pairingOf(const QVector<DutchPair>& pairs) const {
    Pairing out;
    for (const DutchPair& p : pairs) {
        const Board board = boardOf(p);
        out.boardOf.insert(board.first, int(out.boards.size()));
        if (board.second == m_bye)
            out.byePlayer = board.first;
        else
            out.boardOf.insert(board.second, int(out.boards.size()));
        out.boards.append(board);
    }
    return out;
}

int RoundJudge::bracketOf(const Board& b) const {
    return b.second == m_bye ? m_scores.back() - 1 : scoreOf(b.second);
}

RoundJudge::BracketView RoundJudge::view(const Pairing& pairing, int score) const {
    BracketView out;
    for (const Board& b : pairing.boards)
        if (b.second != m_bye && bracketOf(b) == score)
            out.pairs.append(b);
    for (const DutchPlayerFacts& p : m_players) {
        if (p.score < score)
            break;
        if (bracketOf(pairing.boards[pairing.boardOf.value(p.number)]) < score)
            out.downfloaters.append(p.number);
    }
    return out;
}

// What the rules never allow: every player of the round in exactly one pair, only they,
// no rematch (C1), the bye only for one who may have it (C2) and only one bye, no two
// non-topscorers of the same absolute colour wish together (C3), no forbidden pair.
QVector<QByteArray> RoundJudge::absoluteFaults(const QVector<DutchPair>& file) const {
    QVector<QByteArray> faults;
    QHash<int, int> seen;
    int byes = 0;
    const auto number = [](int n) { return QByteArray::number(n); };
    for (const DutchPair& p : file) {
        for (int n : {p.white, p.black}) {
            if (n == m_bye)
                continue;
            if (!inField(n))
                faults.append("player " + number(n) + " does not play this round, yet is paired");
            else if (++seen[n] == 2)
                faults.append("player " + number(n) + " is paired twice");
        }
        const Board b = boardOf(p);
        if (!inField(b.first) || (b.second != m_bye && !inField(b.second)))
            continue;
        const QByteArray pair = number(p.white) + " - " + number(p.black);
        if (b.second == m_bye) {
            if (++byes == 2)
                faults.append("more than one pairing-allocated bye");
            if (!facts(b.first).byeEligible)
                faults.append("C2 (a second bye or win without playing: " + number(b.first) +
                              " gets the pairing-allocated bye)");
            continue;
        }
        const DutchPlayerFacts& x = facts(b.first);
        const DutchPlayerFacts& y = facts(b.second);
        if (x.opponents.contains(y.number))
            faults.append("C1 (rematch: " + pair + ")");
        if (m_before.extras.isForbidden(x.number, y.number, m_before.roundCount() + 1))
            faults.append("forbidden pair: " + pair);
        if (x.colours.strength == ColourStrength::Absolute &&
            y.colours.strength == ColourStrength::Absolute &&
            x.colours.preference == y.colours.preference && !x.topscorer && !y.topscorer)
            faults.append("C3 (both must have " +
                          QByteArray(x.colours.preference == 'W' ? "White" : "Black") + ": " +
                          pair + ")");
    }
    for (const DutchPlayerFacts& p : m_players)
        if (!seen.contains(p.number))
            faults.append("player " + number(p.number) + " is not paired");
    return faults;
}

// C10 to C13 over the pairs, each with the colours the rules give it.
void RoundJudge::addColourCounts(const BracketView& view, QVector<int> counts[4]) const {
    int over = 0, third = 0, unmet = 0, unmetStrong = 0;
    for (const Board& b : view.pairs) {
        const DutchColours colours = dutchColours(m_before, m_options, b.first, b.second);
        const bool topscorers = facts(b.first).topscorer || facts(b.second).topscorer;
        for (int n : {b.first, b.second}) {
            const DutchPlayerFacts& p = facts(n);
            const char given = n == colours.white ? 'W' : 'B';
            if (p.colours.preference != 0 && p.colours.preference != given) {
                ++unmet;
                if (p.colours.strength >= ColourStrength::Strong)
                    ++unmetStrong;
            }
            if (!topscorers)
                continue;
            const int difference = p.colours.difference + (given == 'W' ? 1 : -1);
            if (difference > 2 || difference < -2)
                ++over;
            QByteArray played;
            for (char c : p.colours.rounds)
                if (c != 0)
                    played += c;
            if (played.size() >= 2 && played.endsWith(QByteArray(2, given)))
                ++third;
        }
    }
    counts[0] = {over};
    counts[1] = {third};
    counts[2] = {unmet};
    counts[3] = {unmetStrong};
}

// C14 to C21: the floats of the last round and of the one before it, repeated.
void RoundJudge::addFloatCounts(const BracketView& view, int score, QVector<int> counts[8]) const {
    int residentDown[2] = {0, 0}, opponentUp[2] = {0, 0};
    QVector<int> mdpDifferences[2], opponentDifferences[2];
    // A player floating out of the bracket counts in C18 and C20 with a difference above
    // any pair's inside it: as if paired a point below the bracket.
    for (int n : view.downfloaters) {
        const DutchPlayerFacts& p = facts(n);
        for (int back = 0; back < 2; ++back) {
            if ((back == 0 ? p.lastFloat : p.floatBefore) != DutchFloat::Down)
                continue;
            residentDown[back] += p.score == score;
            mdpDifferences[back].append(p.score - score + 2);
        }
    }
    for (const Board& b : view.pairs) {
        const DutchPlayerFacts& higher = facts(b.first);
        const DutchPlayerFacts& lower = facts(b.second);
        const int difference = higher.score - lower.score;
        if (difference == 0)
            continue;
        for (int back = 0; back < 2; ++back) {
            const DutchFloat higherFloat = back == 0 ? higher.lastFloat : higher.floatBefore;
            const DutchFloat lowerFloat = back == 0 ? lower.lastFloat : lower.floatBefore;
            if (lowerFloat == DutchFloat::Up) {
                ++opponentUp[back];
                opponentDifferences[back].append(difference);
            }
            if (higherFloat == DutchFloat::Down)
                mdpDifferences[back].append(difference);
        }
    }
    for (int back = 0; back < 2; ++back) {
        std::sort(mdpDifferences[back].begin(), mdpDifferences[back].end(), std::greater<>());
        std::sort(opponentDifferences[back].begin(), opponentDifferences[back].end(),
                  std::greater<>());
        counts[2 * back] = {residentDown[back]};
        counts[2 * back + 1] = {opponentUp[back]};
        counts[4 + 2 * back] = mdpDifferences[back];
        counts[4 + 2 * back + 1] = opponentDifferences[back];
    }
}

QVector<RoundJudge::Measure> RoundJudge::measures(const Pairing& file, const Pairing& dutch,
                                                  int score) const {
    const BracketView views[2] = {view(file, score), view(dutch, score)};
    QVector<Measure> out;
    const auto add = [&](const char* criterion, const char* what, bool points, const auto& value) {
        out.append({criterion, what, points, value(0), value(1)});
    };
    const Pairing* pairings[2] = {&file, &dutch};
    const auto scoresOf = [&](const QVector<int>& players) {
        QVector<int> scores;
        for (int n : players)
            scores.append(scoreOf(n));
        std::sort(scores.begin(), scores.end(), std::greater<>());
        return scores;
    };
    if (file.byePlayer != 0 && dutch.byePlayer != 0)
        add("C5", "score of the bye's assignee", true,
            [&](int k) { return QVector<int>{scoreOf(pairings[k]->byePlayer)}; });
    add("C6", "downfloaters", false,
        [&](int k) { return QVector<int>{int(views[k].downfloaters.size())}; });
    add("C7", "scores of the downfloaters", true,
        [&](int k) { return scoresOf(views[k].downfloaters); });
    const int next = int(m_scores.indexOf(score)) + 1;
    if (next < m_scores.size()) {
        // The next bracket as each pairing pairs it, which the floaters chosen here shape.
        const BracketView nextViews[2] = {view(file, m_scores[next]), view(dutch, m_scores[next])};
        add("C8", "downfloaters of the next bracket", false,
            [&](int k) { return QVector<int>{int(nextViews[k].downfloaters.size())}; });
        add("C8", "scores of the next bracket's downfloaters", true,
            [&](int k) { return scoresOf(nextViews[k].downfloaters); });
    }
    const auto byeFloater = [&](int k) {
        return views[k].downfloaters.size() == 1 &&
               views[k].downfloaters.front() == pairings[k]->byePlayer;
    };
    if (byeFloater(0) && byeFloater(1))
        add("C9", "unplayed games of the bye's assignee", false,
            [&](int k) { return QVector<int>{facts(pairings[k]->byePlayer).unplayedRounds}; });
    QVector<int> colours[2][4];
    QVector<int> floats[2][8];
    for (int k = 0; k < 2; ++k) {
        addColourCounts(views[k], colours[k]);
        addFloatCounts(views[k], score, floats[k]);
    }
    static const char* const colourTexts[4] = {
        "topscorers or their opponents beyond a colour difference of 2",
        "topscorers or their opponents with a colour a third time in a row",
        "colour preferences not met", "strong colour preferences not met"};
    static const char* const colourNames[4] = {"C10", "C11", "C12", "C13"};
    for (int c = 0; c < 4; ++c)
        add(colourNames[c], colourTexts[c], false, [&](int k) { return colours[k][c]; });
    static const char* const floatTexts[8] = {
        "resident downfloaters who floated down the round before",
        "MDP opponents who floated up the round before",
        "resident downfloaters who floated down two rounds before",
        "MDP opponents who floated up two rounds before",
        "score differences of MDPs and downfloaters who floated down the round before",
        "score differences of MDP opponents who floated up the round before",
        "score differences of MDPs and downfloaters who floated down two rounds before",
        "score differences of MDP opponents who floated up two rounds before"};
    static const char* const floatNames[8] = {"C14", "C15", "C16", "C17",
                                              "C18", "C19", "C20", "C21"};
    for (int c = 0; c < 8; ++c)
        add(floatNames[c], floatTexts[c], c >= 4, [&](int k) { return floats[k][c]; });
    return out;
}

// Between two pairings of a bracket the criteria weigh the same, the order in which the
// rules build the candidates decides (Article 4): first the set of MDPs paired (4.4),
// then S2's transpositions (4.2) inside the exchanges between S1 and S2 (4.3).
QByteArray RoundJudge::orderRule(const BracketView& file, const BracketView& dutch,
                                 int score) const {
    const auto pairedMdps = [&](const BracketView& v) {
        QVector<int> mdps;
        for (const Board& b : v.pairs)
            if (scoreOf(b.first) > score)
                mdps.append(b.first);
        std::sort(mdps.begin(), mdps.end());
        return mdps;
    };
    const auto remainderS1 = [&](const BracketView& v) {
        QVector<int> s1;
        for (const Board& b : v.pairs)
            if (scoreOf(b.first) == score)
                s1.append(b.first);
        std::sort(s1.begin(), s1.end());
        return std::pair(s1, v.downfloaters);
    };
    const QByteArray where = ", bracket " + pointsText(score);
    if (pairedMdps(file) != pairedMdps(dutch))
        return "criteria equal" + where +
               ": the order of the candidates decides (4.4, the set of MDPs paired)";
    bool mdpPartners = false;
    for (const Board& b : file.pairs)
        if (scoreOf(b.first) > score && !dutch.pairs.contains(b))
            mdpPartners = true;
    if (!mdpPartners && remainderS1(file) != remainderS1(dutch))
        return "criteria equal" + where +
               ": the order of the candidates decides (4.3, exchanges between S1 and S2)";
    return "criteria equal" + where +
           ": the order of the candidates decides (4.2, transpositions of S2)";
}

// The pairs are the same, the colours not: the rule of Article 5.2 that gave each pair
// the engine's colours.
QVector<QByteArray> RoundJudge::colourRules(const QVector<DutchPair>& file,
                                            const QVector<DutchPair>& dutch) const {
    QVector<QByteArray> out;
    for (const DutchPair& p : dutch) {
        if (file.contains(p) || !file.contains(DutchPair{p.black, p.white}))
            continue;
        const DutchColours colours = dutchColours(m_before, m_options, p.white, p.black);
        const char* rule = "5.2.5 (the higher-ranked player's pairing number and the "
                           "initial colour)";
        switch (colours.rule) {
        case ColourRule::Bye:
        case ColourRule::PairingNumber:
            break;
        case ColourRule::BothPreferences:
            rule = "5.2.1 (both colour preferences granted)";
            break;
        case ColourRule::StrongerPreference:
        case ColourRule::WiderDifference:
            rule = "5.2.2 (the stronger colour preference granted)";
            break;
        case ColourRule::Alternation:
            rule = "5.2.3 (colours alternated from the last round they differed)";
            break;
        case ColourRule::HigherRanked:
            rule = "5.2.4 (the higher-ranked player's preference granted)";
            break;
        }
        out.append("same pairs, colours differ: " + QByteArray::number(p.white) + " - " +
                   QByteArray::number(p.black) + " by " + rule);
    }
    return out;
}

QVector<QByteArray> RoundJudge::judge(const QVector<DutchPair>& file,
                                      const QVector<DutchPair>& dutch) const {
    QVector<QByteArray> faults = absoluteFaults(file);
    if (!faults.isEmpty()) {
        for (QByteArray& fault : faults)
            fault.prepend("breaks an absolute criterion: ");
        return faults;
    }
    if (dutch.isEmpty() || m_players.isEmpty())
        return {};
    const Pairing filePairing = pairingOf(file);
    const Pairing dutchPairing = pairingOf(dutch);
    const auto sorted = [](QVector<Board> boards) {
        std::sort(boards.begin(), boards.end());
        return boards;
    };
    for (int score : m_scores) {
        const BracketView fileView = view(filePairing, score);
        const BracketView dutchView = view(dutchPairing, score);
        if (sorted(fileView.pairs) == sorted(dutchView.pairs) &&
            fileView.downfloaters == dutchView.downfloaters)
            continue;
        const QByteArray where = ", bracket " + pointsText(score);
        for (const Measure& m : measures(filePairing, dutchPairing, score)) {
            if (m.file == m.dutch)
                continue;
            QVector<int> a = m.file, b = m.dutch;
            const qsizetype size = std::max(a.size(), b.size());
            a.resize(size);
            b.resize(size);
            const auto values = [&](const QVector<int>& v) {
                if (v.isEmpty())
                    return QByteArray("none");
                QByteArray text;
                for (int x : v)
                    text += (text.isEmpty() ? "" : ", ") +
                            (m.points ? pointsText(x) : QByteArray::number(x));
                return text;
            };
            return {QByteArray(a > b ? "first worse on: " : "first better on: ") + m.criterion +
                    " (" + m.what + ": file " + values(m.file) + "; Dutch " + values(m.dutch) +
                    ")" + where};
        }
        return {orderRule(fileView, dutchView, score)};
    }
    return colourRules(file, dutch);
}
} // namespace

bool TrfCheck::agrees() const {
    return std::all_of(rounds.begin(), rounds.end(),
                       [](const TrfRoundCheck& r) { return r.agrees(); });
}

Result<TrfCheck> checkTrfPairings(QByteArrayView text, bool orderInWeight) {
    // The start date matters to no pairing, and pairing programs' files often have none:
    // one is added after the last line, so that the import's refusals keep their lines.
    QByteArray bytes = text.toByteArray();
    if (!hasRecord(text, "042"))
        bytes += QByteArrayLiteral("\n042 2000/01/01\n");
    const Result<TrfImported> imported = trfImportSwiss(bytes, TrfLimits::Format);
    if (!imported)
        return imported.failure();
    const SwissTournament& full = imported->tournament;
    DutchOptions options;
    options.plannedRounds = std::max(imported->plannedRounds, full.roundCount());
    options.initialColour = initialColourFromRoundOne(full).value_or(InitialColour::White);
    options.orderInWeight = orderInWeight;
    TrfCheck check;
    check.byeNumber = full.byeNumber;
    for (int r = 1; r <= full.roundCount(); ++r) {
        SwissTournament before = full;
        before.rounds.resize(r - 1);
        before.deriveCounts();
        const DutchPairing dutch = pairDutch(before, options);
        const QVector<DutchPair> file = filePairs(full, r);
        TrfRoundCheck round;
        round.round = r;
        round.dutchFound = dutch.found();
        round.fileOnly = missingFrom(file, dutch.pairs);
        round.dutchOnly = missingFrom(dutch.pairs, file);
        if (!round.agrees())
            round.criteria = RoundJudge(before, options, byeId(full)).judge(file, dutch.pairs);
        check.rounds.append(round);
    }
    return check;
}

QByteArray trfCheckText(const TrfCheck& check) {
    const auto number = [&](int n) {
        return n == check.byeNumber && n != 0 ? QByteArrayLiteral("bye") : QByteArray::number(n);
    };
    const auto pairLine = [&](const char* who, const DutchPair& p) {
        return QByteArray("  ") + who + ": " + number(p.white) + " - " + number(p.black) + '\n';
    };
    QByteArray out;
    for (const TrfRoundCheck& r : check.rounds) {
        out += "round " + QByteArray::number(r.round) + (r.agrees() ? ": ok\n" : ": differs\n");
        for (const DutchPair& p : r.fileOnly)
            out += pairLine("file", p);
        if (!r.dutchFound)
            out += "  Dutch: no pairing within the absolute criteria\n";
        for (const DutchPair& p : r.dutchOnly)
            out += pairLine("Dutch", p);
        for (const QByteArray& line : r.criteria)
            out += "  " + line + '\n';
    }
    return out;
}

CliOutput runTrfCheckCli(const QStringList& args) {
    const auto fail = [](const QString& text) {
        return CliOutput::failure(
            QStringLiteral("ladya-cli: check: %1").arg(QString(text).replace(u'\n', u' ')));
    };
    const CliArguments read = parseCliArguments(args, 1, {});
    if (!read.ok())
        return fail(QStringLiteral("%1 (see --help)").arg(read.error));
    if (read.operands.size() > 1)
        return fail(
            QStringLiteral("unexpected argument '%1' (see --help)").arg(read.operands.at(1)));
    if (read.operands.isEmpty() || read.operands.first().isEmpty())
        return fail(QStringLiteral("missing FILE (see --help)"));
    const QString file = read.operands.first();
    QString error;
    const std::optional<QByteArray> bytes = readFileBytes(file, &error);
    if (!bytes)
        return fail(QStringLiteral("%1: %2").arg(file, error));
    const Result<TrfCheck> check = checkTrfPairings(*bytes);
    if (!check)
        return fail(QStringLiteral("%1: %2").arg(file, check.failure().text));
    // 1, not 2: a script tells a pairing that differs from a file it could not check.
    return {check->agrees() ? 0 : 1, trfCheckText(*check), QByteArray()};
}

} // namespace ladya
