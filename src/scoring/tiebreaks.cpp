#include "scoring/tiebreaks.h"

#include "common/text_file.h"

#include <QCoreApplication>
#include <QDate>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>

namespace ladya {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("TieBreaks", text);
}

using Kind = TieBreakRoundKind;

// What an acronym takes and how its values are written.
struct Acronym {
    TieBreakId id;
    const char* code;
    bool cuts;    // Cut-1, Cut-2
    bool medians; // Median-1, Median-2
    bool limit;   // KS's Ln
    int decimals; // of the value text
};

constexpr std::array<Acronym, 17> Acronyms = {{
    {TieBreakId::DE, "DE", false, false, false, 0},
    {TieBreakId::WIN, "WIN", false, false, false, 0},
    {TieBreakId::WON, "WON", false, false, false, 0},
    {TieBreakId::BPG, "BPG", false, false, false, 0},
    {TieBreakId::BWG, "BWG", false, false, false, 0},
    {TieBreakId::GE, "GE", false, false, false, 0},
    {TieBreakId::PS, "PS", true, false, false, 1},
    {TieBreakId::BH, "BH", true, true, false, 1},
    {TieBreakId::FB, "FB", true, true, false, 1},
    {TieBreakId::AOB, "AOB", false, false, false, 2},
    {TieBreakId::SB, "SB", true, true, false, 2},
    {TieBreakId::KS, "KS", false, false, true, 1},
    {TieBreakId::ARO, "ARO", true, true, false, 0},
    {TieBreakId::TPR, "TPR", false, false, false, 0},
    {TieBreakId::PTP, "PTP", false, false, false, 0},
    {TieBreakId::APRO, "APRO", false, false, false, 0},
    {TieBreakId::APPO, "APPO", false, false, false, 0},
}};

const Acronym& acronymOf(TieBreakId id) {
    return Acronyms[std::size_t(id)];
}

Message refusal(const QString& text) {
    return Message{tr("Тай-брейки"), text};
}

// The modifier as the list text writes it ("C1", "M2", "L40"); "" for none.
QString modifierText(const TieBreak& t) {
    if (t.cutHighest > 0)
        return QStringLiteral("M%1").arg(t.cutHighest);
    if (t.cutLowest > 0)
        return QStringLiteral("C%1").arg(t.cutLowest);
    if (t.limit > 0)
        return QStringLiteral("L%1").arg(t.limit);
    return QString();
}

} // namespace

Result<TieBreakList> parseTieBreakList(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    static const QRegularExpression entryPattern(
        QStringLiteral("^([A-Z]+)(?:[/-]([A-Z])(\\d+))?$"));
    TieBreakList list;
    const QStringList entries = text.toUpper().split(separators, Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        const QRegularExpressionMatch m = entryPattern.match(entry);
        const Acronym* found = nullptr;
        if (m.hasMatch()) {
            for (const Acronym& a : Acronyms) {
                if (m.captured(1) == QLatin1StringView(a.code))
                    found = &a;
            }
        }
        if (!found)
            return refusal(tr("Неизвестный тай-брейк: «%1».").arg(entry));
        TieBreak t;
        t.id = found->id;
        if (!m.captured(2).isEmpty()) {
            const QChar letter = m.captured(2).front();
            const int n = m.captured(3).toInt();
            bool taken = false;
            if (letter == u'C' && found->cuts && (n == 1 || n == 2)) {
                t.cutLowest = n;
                taken = true;
            } else if (letter == u'M' && found->medians && (n == 1 || n == 2)) {
                t.cutLowest = n;
                t.cutHighest = n;
                taken = true;
            } else if (letter == u'L' && found->limit && n >= 1 && n <= 100) {
                // The default limit is written without a modifier.
                t.limit = n == 50 ? 0 : n;
                taken = true;
            }
            if (!taken)
                return refusal(
                    tr("Тай-брейк «%1» не принимает модификатор «%2».")
                        .arg(QLatin1StringView(found->code), m.captured(2) + m.captured(3)));
        }
        if (std::find(list.begin(), list.end(), t) != list.end())
            return refusal(tr("Тай-брейк «%1» указан дважды.").arg(entry));
        list.push_back(t);
        if (list.size() > 10)
            return refusal(tr("В списке больше 10 тай-брейков."));
    }
    return list;
}

QString tieBreakListText(const TieBreakList& list) {
    QStringList parts;
    for (const TieBreak& t : list) {
        const QString modifier = modifierText(t);
        parts.append(QLatin1StringView(acronymOf(t.id).code) +
                     (modifier.isEmpty() ? QString() : u'/' + modifier));
    }
    return parts.join(u',');
}

QString tieBreakTitle(const TieBreak& t) {
    const QString modifier = modifierText(t);
    return QLatin1StringView(acronymOf(t.id).code) +
           (modifier.isEmpty() ? QString() : u'-' + modifier);
}

QString tieBreakLegend(const TieBreak& t) {
    QString base;
    switch (t.id) {
    case TieBreakId::DE:
        base = tr("личная встреча");
        break;
    case TieBreakId::WIN:
        base = tr("число побед (с неявками и байами)");
        break;
    case TieBreakId::WON:
        base = tr("число побед, одержанных за доской");
        break;
    case TieBreakId::BPG:
        base = tr("число партий, сыгранных чёрными");
        break;
    case TieBreakId::BWG:
        base = tr("число побед чёрными");
        break;
    case TieBreakId::GE:
        base = tr("число туров, в которых участник решил играть");
        break;
    case TieBreakId::PS:
        base = tr("прогрессивный коэффициент");
        break;
    case TieBreakId::BH:
        base = tr("коэффициент Бухгольца");
        break;
    case TieBreakId::FB:
        base = tr("коэффициент Бухгольца с последним туром как ничьей");
        break;
    case TieBreakId::AOB:
        base = tr("средний коэффициент Бухгольца соперников");
        break;
    case TieBreakId::SB:
        base = tr("коэффициент Зоннеборна-Бергера");
        break;
    case TieBreakId::KS:
        base = tr("коэффициент Койя");
        break;
    case TieBreakId::ARO:
        base = tr("средний рейтинг соперников");
        break;
    case TieBreakId::TPR:
        base = tr("турнирный перфоманс");
        break;
    case TieBreakId::PTP:
        base = tr("идеальный турнирный перфоманс");
        break;
    case TieBreakId::APRO:
        base = tr("средний перфоманс соперников");
        break;
    case TieBreakId::APPO:
        base = tr("средний идеальный перфоманс соперников");
        break;
    }
    QString modifier;
    if (t.cutHighest == 1)
        modifier = tr("без лучшего и худшего результатов");
    else if (t.cutHighest == 2)
        modifier = tr("без двух лучших и двух худших результатов");
    else if (t.cutLowest == 1)
        modifier = t.id == TieBreakId::PS ? tr("без первого тура") : tr("без худшего результата");
    else if (t.cutLowest == 2)
        modifier = t.id == TieBreakId::PS ? tr("без двух первых туров")
                                          : tr("без двух худших результатов");
    else if (t.id == TieBreakId::KS)
        modifier = tr("против набравших не менее %1% очков").arg(t.limit > 0 ? t.limit : 50);
    const QString line = modifier.isEmpty() ? base : base + u' ' + modifier;
    return tr("%1 — %2").arg(tieBreakTitle(t), line);
}

QString tieBreakValueText(const TieBreak& t, double value) {
    return formatFixed(value, acronymOf(t.id).decimals);
}

std::vector<RecommendedTieBreaks> recommendedTieBreakLists(bool roundRobin) {
    const auto list = [](const char* text) { return *parseTieBreakList(QLatin1StringView(text)); };
    if (roundRobin) {
        return {{tr("Круговой турнир (рекомендация ФИДЕ)"), list("DE,SB,WIN,KS")}};
    }
    return {
        {tr("Швейцарская система (рекомендация ФИДЕ)"), list("BH/C1,BH,DE,SB")},
        {tr("Швейцарская система с рейтингами (рекомендация ФИДЕ)"), list("BH/C1,BH,DE,ARO/C1")}};
}

TieBreakRules tieBreakRulesOn(const QString& startDate) {
    const QDate date = QDate::fromString(startDate, QStringLiteral("dd.MM.yyyy"));
    return date.isValid() && date >= QDate(2026, 3, 1) ? TieBreakRules::Fide2026
                                                       : TieBreakRules::Fide2024;
}

QString sharedPlaceText(int firstPlace, int lastPlace) {
    if (firstPlace == lastPlace)
        return QString::number(firstPlace);
    return QStringLiteral("%1–%2").arg(firstPlace).arg(lastPlace);
}

namespace {

// FIDE's conversion of a fractional score p (in hundredths, 50..100) into a rating
// difference dp (Rating Regulations, table 8.1.a); below 50 the table is mirrored.
constexpr std::array<int, 51> DpTable = {
    0,   7,   14,  21,  29,  36,  43,  50,  57,  65,  72,  80,  87,  95,  102, 110, 117,
    125, 133, 141, 149, 158, 166, 175, 184, 193, 202, 211, 220, 230, 240, 251, 262, 273,
    284, 296, 309, 322, 336, 351, 366, 383, 401, 422, 444, 470, 501, 538, 589, 677, 800};

int dpOf(int hundredths) {
    return hundredths >= 50 ? DpTable[std::size_t(hundredths - 50)]
                            : -DpTable[std::size_t(50 - hundredths)];
}

// The upper ends of the rating differences of table 8.1.b: a difference up to
// ExpectedTable[k] (and above the previous entry) expects 50 + k hundredths; above 735
// the higher-rated side expects everything.
constexpr std::array<int, 50> ExpectedTable = {
    3,   10,  17,  25,  32,  39,  46,  53,  61,  68,  76,  83,  91,  98,  106, 113, 121,
    129, 137, 145, 153, 162, 170, 179, 188, 197, 206, 215, 225, 235, 245, 256, 267, 278,
    290, 302, 315, 328, 344, 357, 374, 391, 411, 432, 456, 484, 517, 559, 619, 735};

// Expected score in hundredths of a player rated `difference` above the opponent.
int expectedHundredths(int difference) {
    const int d = std::abs(difference);
    const int k = int(std::lower_bound(ExpectedTable.begin(), ExpectedTable.end(), d) -
                      ExpectedTable.begin());
    const int higher = 50 + k;
    return difference >= 0 ? higher : 100 - higher;
}

// Nearest whole number of numerator / denominator (denominator > 0), halves upwards.
long long roundedQuotient(long long numerator, long long denominator) {
    const long long twice = 2 * numerator + denominator;
    const long long q = twice / (2 * denominator);
    return twice % (2 * denominator) < 0 ? q - 1 : q;
}

// Rounds a player chose not to play (C.07 art. 16): the first cut by a Cut or Median.
// The reference reads the full-point bye as a reward, not a choice, and cuts it by value.
// With pairings fixed in advance a forfeit counts as a game against the opponent, and
// is cut by its value.
bool isVoluntary(Kind k, bool roundRobin) {
    return k == Kind::HalfBye || k == Kind::ZeroBye || (k == Kind::ForfeitLoss && !roundRobin);
}

// Whether the round counts against GE (games elected to play): a half-point bye, an
// absence, a game lost by not appearing. A full-point bye is no choice of the player's.
bool isDeclined(Kind k) {
    return k == Kind::HalfBye || k == Kind::ZeroBye || k == Kind::ForfeitLoss;
}

// A round-robin's round against the empty seat of an odd field is no round of the
// player's for the opponent-based tie-breaks: nobody was to be met.
bool sitsOut(const TieBreakField& field, const TieBreakRound& r) {
    return field.roundRobin && r.kind == Kind::PairingBye;
}

bool hasOpponent(Kind k) {
    return k == Kind::Played || k == Kind::ForfeitWin || k == Kind::ForfeitLoss ||
           k == Kind::NotPlayedYet;
}

// Everything the tie-breaks of one field share, in halves of a point.
struct Scores {
    const TieBreakField* field = nullptr;
    int rounds = 0;
    std::vector<int> halves;     // each player's points
    std::vector<int> asOpponent; // the points his opponents' Buchholz takes
    std::vector<int> roundValue; // [p * R + r]: the Buchholz contribution of round r

    int value(int p, int r) const { return roundValue[std::size_t(p) * std::size_t(rounds) + r]; }
};

Scores scoresOf(const TieBreakField& field) {
    Scores s;
    s.field = &field;
    s.rounds = field.roundCount;
    const int n = int(field.players.size());
    const int rounds = field.roundCount;
    s.halves.assign(n, 0);
    s.asOpponent.assign(n, 0);
    for (int p = 0; p < n; ++p) {
        const auto& rs = field.players[p].rounds;
        int total = 0;
        for (int r = 0; r < rounds; ++r)
            total += rs[r].kind == Kind::NotPlayedYet ? 0 : rs[r].halves;
        s.halves[p] = total;
        // The absences that close a player's tournament (a withdrawal, the last rounds
        // missed) count as draws in his opponents' Buchholz, so that meeting a player who
        // left early costs nobody more than meeting one who stayed; an absence between
        // games counts as what it brought. The reference calculator reads C.07 so.
        // The closing run may mix absences with requested byes and games lost by not
        // appearing; only the absences in it change.
        int trailing = 0;
        for (int r = rounds - 1;
             r >= 0 && (rs[r].kind == Kind::ZeroBye || rs[r].kind == Kind::HalfBye ||
                        rs[r].kind == Kind::FullBye || rs[r].kind == Kind::ForfeitLoss);
             --r)
            trailing += rs[r].kind == Kind::ZeroBye ? 1 : 0;
        s.asOpponent[p] = total + trailing;
    }
    s.roundValue.assign(std::size_t(n) * std::size_t(rounds), 0);
    for (int p = 0; p < n; ++p) {
        const auto& rs = field.players[p].rounds;
        // C.07 art. 16: every unplayed round (forfeits and byes of every kind) counts as a
        // game against a dummy opponent with the player's own points. Since 2026 a bye's
        // dummy has at most half the points of the planned rounds, and a forfeit's no
        // more than the opponent who was paired (as the reference reads the edition).
        const bool capped = field.rules == TieBreakRules::Fide2026;
        const int planned = std::max(field.plannedRounds, rounds);
        const int dummy = capped ? std::min(s.halves[p], planned) : s.halves[p];
        for (int r = 0; r < rounds; ++r) {
            const TieBreakRound& round = rs[r];
            int v = dummy;
            // With pairings fixed in advance a forfeit still had its opponent: C.07 counts
            // it as a game against him.
            const bool met = round.kind == Kind::Played || round.kind == Kind::NotPlayedYet ||
                             (field.roundRobin &&
                              (round.kind == Kind::ForfeitWin || round.kind == Kind::ForfeitLoss));
            if (met)
                v = round.opponent >= 0 ? s.asOpponent[round.opponent] : 0;
            else if (capped && round.opponent >= 0 &&
                     (round.kind == Kind::ForfeitWin || round.kind == Kind::ForfeitLoss))
                v = std::min(s.halves[p], s.asOpponent[round.opponent]);
            s.roundValue[std::size_t(p) * std::size_t(rounds) + r] = v;
        }
    }
    return s;
}

// The field with every game of the last round made a draw over the board: the base of
// the fore-Buchholz.
TieBreakField foreField(const TieBreakField& field) {
    TieBreakField f = field;
    if (f.roundCount == 0)
        return f;
    const int last = f.roundCount - 1;
    for (TieBreakPlayer& p : f.players) {
        TieBreakRound& r = p.rounds[std::size_t(last)];
        if (hasOpponent(r.kind) && r.opponent >= 0) {
            r.kind = Kind::Played;
            r.halves = 1;
        }
    }
    return f;
}

struct Contribution {
    int round;
    long long value; // what the round adds
    long long order; // what decides the cut (the Buchholz contribution)
    bool voluntary;
};

// Sums the contributions less the cuts. A low cut removes the least significant round:
// the voluntarily unplayed rounds come first (C.07 art. 16), the weakest opponent (the
// least `order`) otherwise. The two readings differ for SB, whose value is not the
// order: the reference then cuts, one cut at a time, whichever of the first unplayed
// round and the weakest opponent contributes more, the unplayed round on a tie (for
// Buchholz that is always the unplayed round). The high cuts take the greatest. Ties
// go by the lesser value, then by round.
long long cutSum(std::vector<Contribution>& cs, int low, int high) {
    long long total = 0;
    for (const Contribution& c : cs)
        total += c.value;
    if (low == 0 && high == 0)
        return total;
    std::vector<std::size_t> byOrder(cs.size());
    std::iota(byOrder.begin(), byOrder.end(), 0);
    std::stable_sort(byOrder.begin(), byOrder.end(), [&](std::size_t a, std::size_t b) {
        if (cs[a].order != cs[b].order)
            return cs[a].order < cs[b].order;
        if (cs[a].value != cs[b].value)
            return cs[a].value < cs[b].value;
        return cs[a].round < cs[b].round;
    });
    std::vector<std::size_t> idx = byOrder;
    std::stable_partition(idx.begin(), idx.end(), [&](std::size_t a) { return cs[a].voluntary; });
    std::vector<char> cut(cs.size(), 0);
    const auto firstUncut = [&](const std::vector<std::size_t>& order) {
        for (std::size_t k : order) {
            if (!cut[k])
                return k;
        }
        return order.size();
    };
    for (int k = 0; k < low && k < int(cs.size()); ++k) {
        const std::size_t weakest = firstUncut(byOrder);
        std::size_t chosen = firstUncut(idx);
        if (!cs[chosen].voluntary || cs[chosen].value < cs[weakest].value)
            chosen = weakest;
        cut[chosen] = 1;
        total -= cs[chosen].value;
    }
    std::stable_sort(idx.begin(), idx.end(), [&](std::size_t a, std::size_t b) {
        if (cs[a].order != cs[b].order)
            return cs[a].order > cs[b].order;
        if (cs[a].value != cs[b].value)
            return cs[a].value > cs[b].value;
        return cs[a].round < cs[b].round;
    });
    int taken = 0;
    for (std::size_t k = 0; k < idx.size() && taken < high; ++k) {
        if (cut[idx[k]])
            continue;
        total -= cs[idx[k]].value;
        ++taken;
    }
    return total;
}

double buchholz(const Scores& s, int p, const TieBreak& t) {
    std::vector<Contribution> cs;
    cs.reserve(std::size_t(s.rounds));
    const auto& rs = s.field->players[std::size_t(p)].rounds;
    for (int r = 0; r < s.rounds; ++r) {
        if (sitsOut(*s.field, rs[r]))
            continue;
        cs.push_back(
            {r, s.value(p, r), s.value(p, r), isVoluntary(rs[r].kind, s.field->roundRobin)});
    }
    return double(cutSum(cs, t.cutLowest, t.cutHighest)) / 2.0;
}

double sonnebornBerger(const Scores& s, int p, const TieBreak& t) {
    std::vector<Contribution> cs;
    cs.reserve(std::size_t(s.rounds));
    const auto& rs = s.field->players[std::size_t(p)].rounds;
    for (int r = 0; r < s.rounds; ++r) {
        if (sitsOut(*s.field, rs[r]))
            continue;
        const int h = rs[r].kind == Kind::NotPlayedYet ? 0 : rs[r].halves;
        // The cuts go by the opponent's points (the Buchholz contribution).
        cs.push_back({r, (long long)(s.value(p, r)) * h, s.value(p, r),
                      isVoluntary(rs[r].kind, s.field->roundRobin)});
    }
    return double(cutSum(cs, t.cutLowest, t.cutHighest)) / 4.0;
}

double progressive(const Scores& s, int p, const TieBreak& t) {
    const auto& rs = s.field->players[std::size_t(p)].rounds;
    long long running = 0;
    long long total = 0;
    for (int r = 0; r < s.rounds; ++r) {
        running += rs[r].kind == Kind::NotPlayedYet ? 0 : rs[r].halves;
        if (r >= t.cutLowest)
            total += running;
    }
    return double(total) / 2.0;
}

double koya(const Scores& s, int p, const TieBreak& t) {
    const int limit = t.limit > 0 ? t.limit : 50;
    const auto& rs = s.field->players[std::size_t(p)].rounds;
    long long total = 0;
    for (int r = 0; r < s.rounds; ++r) {
        const TieBreakRound& round = rs[r];
        if (!hasOpponent(round.kind) || round.kind == Kind::NotPlayedYet || round.opponent < 0)
            continue;
        // At least `limit` per cent of the opponent's maximum: 2 halves a round, the
        // empty seat of a round-robin's odd field left out.
        const auto& theirs = s.field->players[std::size_t(round.opponent)].rounds;
        const long long games =
            s.rounds - std::count_if(theirs.begin(), theirs.end(),
                                     [&](const TieBreakRound& x) { return sitsOut(*s.field, x); });
        if ((long long)(s.halves[std::size_t(round.opponent)]) * 100 >=
            (long long)(limit)*2 * games)
            total += round.halves;
    }
    return double(total) / 2.0;
}

int ratingOf(const TieBreakField& field, int p) {
    const int r = field.players[std::size_t(p)].rating;
    return r > 0 ? r : field.unratedRating;
}

// The opponents of the games played over the board.
template <typename F> void forPlayedGames(const TieBreakField& field, int p, F&& f) {
    for (const TieBreakRound& r : field.players[std::size_t(p)].rounds) {
        if (r.kind == Kind::Played && r.opponent >= 0)
            f(r);
    }
}

double averageRating(const TieBreakField& field, int p, const TieBreak& t) {
    std::vector<Contribution> cs;
    int round = 0;
    forPlayedGames(field, p, [&](const TieBreakRound& r) {
        const int rating = ratingOf(field, r.opponent);
        cs.push_back({round++, rating, rating, false});
    });
    const int counted = int(cs.size()) - t.cutLowest - t.cutHighest;
    if (counted <= 0)
        return 0.0;
    return double(roundedQuotient(cutSum(cs, t.cutLowest, t.cutHighest), counted));
}

int performance(const TieBreakField& field, int p) {
    long long ratings = 0;
    int games = 0;
    int halves = 0;
    forPlayedGames(field, p, [&](const TieBreakRound& r) {
        ratings += ratingOf(field, r.opponent);
        ++games;
        halves += r.halves;
    });
    if (games == 0)
        return 0;
    // The fraction of the points, in hundredths rounded half up, gives dp; the average
    // rating is taken whole before it is added.
    const int hundredths = int(roundedQuotient(50LL * halves, games));
    return int(roundedQuotient(ratings, games)) + dpOf(hundredths);
}

int perfectPerformance(const TieBreakField& field, int p) {
    std::vector<int> opponents;
    int halves = 0;
    forPlayedGames(field, p, [&](const TieBreakRound& r) {
        opponents.push_back(ratingOf(field, r.opponent));
        halves += r.halves;
    });
    if (opponents.empty())
        return 0;
    const auto [low, high] = std::minmax_element(opponents.begin(), opponents.end());
    if (halves == 0)
        return *low - 800;
    // The lowest rating whose expected score (table 8.1.b) reaches the points scored.
    const long long needed = 50LL * halves; // hundredths
    const auto expected = [&](int rating) {
        long long sum = 0;
        for (int o : opponents)
            sum += expectedHundredths(rating - o);
        return sum;
    };
    int lo = *low - 800;
    int hi = *high + 800;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (expected(mid) >= needed)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Per player, a figure of each opponent averaged over the games played over the board.
// The average is taken as numerator·sum / (denominator·games), rounded half up, and
// returned divided by `numerator` again.
double averageOverOpponents(const TieBreakField& field, int p, const std::vector<long long>& of,
                            long long numerator, long long denominator) {
    long long sum = 0;
    int games = 0;
    forPlayedGames(field, p, [&](const TieBreakRound& r) {
        sum += of[std::size_t(r.opponent)];
        ++games;
    });
    if (games == 0)
        return 0.0;
    return double(roundedQuotient(sum * numerator, games * denominator)) / double(numerator);
}

int countRounds(const TieBreakField& field, int p, bool (*counts)(const TieBreakRound&)) {
    int n = 0;
    for (const TieBreakRound& r : field.players[std::size_t(p)].rounds)
        n += counts(r) ? 1 : 0;
    return n;
}

// Values of one entry for every player; DE is computed by the ranking.
std::vector<double> entryValues(const TieBreakField& field, const Scores& scores, const TieBreak& t,
                                const Scores* fore) {
    const int n = int(field.players.size());
    std::vector<double> v(std::size_t(n), 0.0);
    switch (t.id) {
    case TieBreakId::DE:
        break;
    case TieBreakId::WIN:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = countRounds(field, p, [](const TieBreakRound& r) {
                return r.kind != Kind::NotPlayedYet && r.halves == 2;
            });
        break;
    case TieBreakId::WON:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = countRounds(field, p, [](const TieBreakRound& r) {
                return r.kind == Kind::Played && r.halves == 2;
            });
        break;
    case TieBreakId::BPG:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = countRounds(field, p, [](const TieBreakRound& r) {
                return r.kind == Kind::Played && r.colour == 'b';
            });
        break;
    case TieBreakId::BWG:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = countRounds(field, p, [](const TieBreakRound& r) {
                return r.kind == Kind::Played && r.colour == 'b' && r.halves == 2;
            });
        break;
    case TieBreakId::GE:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] =
                countRounds(field, p, [](const TieBreakRound& r) { return !isDeclined(r.kind); });
        break;
    case TieBreakId::PS:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = progressive(scores, p, t);
        break;
    case TieBreakId::BH:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = buchholz(scores, p, t);
        break;
    case TieBreakId::FB:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = buchholz(*fore, p, t);
        break;
    case TieBreakId::AOB: {
        std::vector<long long> bh(static_cast<std::size_t>(n));
        for (int p = 0; p < n; ++p)
            bh[std::size_t(p)] = std::llround(2.0 * buchholz(scores, p, TieBreak{}));
        // Buchholz in halves, the average to two decimals.
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = averageOverOpponents(field, p, bh, 100, 2);
        break;
    }
    case TieBreakId::SB:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = sonnebornBerger(scores, p, t);
        break;
    case TieBreakId::KS:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = koya(scores, p, t);
        break;
    case TieBreakId::ARO:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = averageRating(field, p, t);
        break;
    case TieBreakId::TPR:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = performance(field, p);
        break;
    case TieBreakId::PTP:
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = perfectPerformance(field, p);
        break;
    case TieBreakId::APRO:
    case TieBreakId::APPO: {
        std::vector<long long> of(static_cast<std::size_t>(n));
        for (int p = 0; p < n; ++p)
            of[std::size_t(p)] =
                t.id == TieBreakId::APRO ? performance(field, p) : perfectPerformance(field, p);
        for (int p = 0; p < n; ++p)
            v[std::size_t(p)] = averageOverOpponents(field, p, of, 1, 1);
        break;
    }
    }
    return v;
}

// The points each player of `group` scored against the others of it, and whether every
// two of them met.
struct Encounters {
    std::vector<int> points;  // halves scored against the others
    std::vector<int> highest; // the same with every encounter still missing won
};

Encounters encounters(const TieBreakField& field, const std::vector<int>& group) {
    const std::size_t g = group.size();
    std::vector<int> position(field.players.size(), -1);
    for (std::size_t k = 0; k < g; ++k)
        position[std::size_t(group[k])] = int(k);
    Encounters e;
    e.points.assign(g, 0);
    std::vector<char> met(g * g, 0);
    for (std::size_t k = 0; k < g; ++k) {
        for (const TieBreakRound& r : field.players[std::size_t(group[k])].rounds) {
            // A forfeit is an encounter only where the pairings were fixed in advance.
            const bool encounter =
                r.kind == Kind::Played ||
                (field.roundRobin && (r.kind == Kind::ForfeitWin || r.kind == Kind::ForfeitLoss));
            if (!encounter || r.opponent < 0)
                continue;
            const int other = position[std::size_t(r.opponent)];
            if (other < 0)
                continue;
            met[k * g + std::size_t(other)] = 1;
            e.points[k] += r.halves;
        }
    }
    e.highest = e.points;
    for (std::size_t a = 0; a < g; ++a) {
        for (std::size_t b = 0; b < g; ++b)
            e.highest[a] += a != b && !met[a * g + b] ? 2 : 0;
    }
    return e;
}

// Ranks `group` from place `first` on by the points scored among its players (C.07 art.
// 6) and returns whether it separated anybody. When all of them met, the players go by
// their points, and each part left tied is ranked again among its own players. When not,
// only the leader can be placed, one at a time: a player whose points exceed every other
// player's and what any of them could have scored winning every encounter still missing;
// the players left are then ranked again among themselves. A part that cannot be
// separated shares its first place.
bool rankEncounters(const TieBreakField& field, const std::vector<int>& group, int first,
                    std::vector<double>& values) {
    const Encounters e = encounters(field, group);
    std::vector<std::size_t> idx(group.size());
    std::iota(idx.begin(), idx.end(), 0);
    std::stable_sort(idx.begin(), idx.end(),
                     [&](std::size_t a, std::size_t b) { return e.points[a] > e.points[b]; });
    const auto rankPart = [&](std::size_t from, std::size_t to) {
        std::vector<int> part;
        for (std::size_t k = from; k < to; ++k)
            part.push_back(group[idx[k]]);
        if (part.size() == 1)
            values[std::size_t(part.front())] = first + int(from);
        else
            rankEncounters(field, part, first + int(from), values);
    };
    const bool allMet = e.points == e.highest;
    if (!allMet) {
        std::size_t placed = 0;
        while (placed + 1 < idx.size()) {
            const int leader = e.points[idx[placed]];
            bool ahead = true;
            for (std::size_t j = placed + 1; j < idx.size(); ++j)
                ahead = ahead && leader > e.points[idx[j]] && leader > e.highest[idx[j]];
            if (!ahead)
                break;
            values[std::size_t(group[idx[placed]])] = first + int(placed);
            ++placed;
        }
        if (placed == 0) {
            for (int p : group)
                values[std::size_t(p)] = first;
            return false;
        }
        rankPart(placed, idx.size());
        return true;
    }
    if (e.points[idx.front()] == e.points[idx.back()]) {
        for (int p : group)
            values[std::size_t(p)] = first;
        return false;
    }
    for (std::size_t s = 0; s < idx.size();) {
        std::size_t end = s + 1;
        while (end < idx.size() && e.points[idx[end]] == e.points[idx[s]])
            ++end;
        rankPart(s, end);
        s = end;
    }
    return true;
}

// Direct encounter within one group of players still tied: the rank it gives (1 the
// best, shared alike), 0 for everybody when it separates nobody or cannot apply.
void directEncounter(const TieBreakField& field, const std::vector<int>& group,
                     std::vector<double>& values) {
    if (!rankEncounters(field, group, 1, values)) {
        for (int p : group)
            values[std::size_t(p)] = 0;
    }
}

} // namespace

TieBreakRanking rankByTieBreaks(const TieBreakField& field, const TieBreakList& list) {
    const int n = int(field.players.size());
    TieBreakRanking ranking;
    const Scores scores = scoresOf(field);
    ranking.points.resize(std::size_t(n));
    for (int p = 0; p < n; ++p)
        ranking.points[std::size_t(p)] = scores.halves[std::size_t(p)] / 2.0;

    const bool needsFore = std::any_of(list.begin(), list.end(),
                                       [](const TieBreak& t) { return t.id == TieBreakId::FB; });
    TieBreakField fore;
    Scores foreScores;
    if (needsFore) {
        fore = foreField(field);
        foreScores = scoresOf(fore);
    }

    ranking.values.assign(std::size_t(n), std::vector<double>(list.size(), 0.0));
    std::vector<std::vector<double>> columns;
    columns.reserve(list.size());
    for (const TieBreak& t : list)
        columns.push_back(entryValues(field, scores, t, needsFore ? &foreScores : nullptr));

    // Groups of players still equal, refined entry by entry.
    std::vector<int> order;
    order.reserve(std::size_t(n));
    for (int p = 0; p < n; ++p) {
        if (!field.players[std::size_t(p)].bye)
            order.push_back(p);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return scores.halves[std::size_t(a)] > scores.halves[std::size_t(b)];
    });
    // Boundaries between groups: boundary[k] is true when position k starts a new group.
    std::vector<char> boundary(order.size() + 1, 0);
    boundary[0] = 1;
    boundary[order.size()] = 1;
    for (std::size_t k = 1; k < order.size(); ++k)
        boundary[k] =
            scores.halves[std::size_t(order[k])] != scores.halves[std::size_t(order[k - 1])];

    for (std::size_t e = 0; e < list.size(); ++e) {
        std::vector<double>& column = columns[e];
        const bool de = list[e].id == TieBreakId::DE;
        for (std::size_t s = 0; s < order.size();) {
            std::size_t end = s + 1;
            while (!boundary[end])
                ++end;
            if (de) {
                std::vector<int> group(order.begin() + std::ptrdiff_t(s),
                                       order.begin() + std::ptrdiff_t(end));
                if (group.size() > 1)
                    directEncounter(field, group, column);
            }
            // DE ranks ascending (1 first, 0 when it did not separate), others descending.
            std::stable_sort(order.begin() + std::ptrdiff_t(s), order.begin() + std::ptrdiff_t(end),
                             [&](int a, int b) {
                                 if (de)
                                     return column[std::size_t(a)] < column[std::size_t(b)];
                                 return column[std::size_t(a)] > column[std::size_t(b)];
                             });
            for (std::size_t k = s + 1; k < end; ++k) {
                if (column[std::size_t(order[k])] != column[std::size_t(order[k - 1])])
                    boundary[k] = 1;
            }
            s = end;
        }
        for (int p = 0; p < n; ++p)
            ranking.values[std::size_t(p)][e] = column[std::size_t(p)];
    }

    // Equal players share their places and are listed by number.
    ranking.firstPlace.assign(std::size_t(n), 0);
    ranking.lastPlace.assign(std::size_t(n), 0);
    for (std::size_t s = 0; s < order.size();) {
        std::size_t end = s + 1;
        while (!boundary[end])
            ++end;
        std::sort(order.begin() + std::ptrdiff_t(s), order.begin() + std::ptrdiff_t(end),
                  [&](int a, int b) {
                      return field.players[std::size_t(a)].number <
                             field.players[std::size_t(b)].number;
                  });
        for (std::size_t k = s; k < end; ++k) {
            ranking.firstPlace[std::size_t(order[k])] = int(s) + 1;
            ranking.lastPlace[std::size_t(order[k])] = int(end);
        }
        s = end;
    }
    ranking.order = std::move(order);
    return ranking;
}

} // namespace ladya
