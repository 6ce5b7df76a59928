// The companion file "<name>.swx" beside "<name>.swz".
//
// Text as every file of the program: UTF-8 (in practice ASCII), every line ending CR LF,
// fields separated by "|". Numbers are plain decimal digits; participant numbers are
// the rows of the .swz, 1..N; rounds are 1..20.
//
//   Ladya-SWX|1                          the format and its version; always line 1
//   swz|<fingerprint>                    starts a set of records: the ones for the .swz
//                                        whose structure has this fingerprint
//   swz|<fingerprint>|<content>          the same for the .swz whose whole text also has
//                                        the hash <content> (see below)
//   rounds|<planned>                     the planned number of rounds (at most one)
//   bye|<participant>|<round>|<H|Z|F>    a requested bye: H ½ point, Z 0, F 1
//   withdraw|<participant>|<from>|<back> not paired from round <from>; back from round
//                                        <back> (0: not back)
//   late|<participant>|<first>|<Z|H>     joined for round <first> (2..20); the rounds
//                                        before it count as absences of that kind
//   forbid|<a>|<b>|<from>|<to>           a and b must not meet in rounds <from>..<to>
//                                        (<to> 0: to the end)
//   accel|baku|<last GA>                 Baku acceleration (at most one): <last GA> is
//                                        the participant number of group GA's last
//                                        player, 0 while round 1 is not paired
//   tiebreaks|<list>                     the tie-breaks the regulations announce (at most
//                                        one), as tieBreakListText writes them:
//                                        "BH/C1,BH,SB,DE"; a list parseTieBreakList
//                                        refuses is refused with its line
//
// Every record belongs to the "swz" line above it; a set may hold no record at all, and
// its records may come in any order (the program writes them kind by kind, each kind in
// the order it was entered). A second bye of one participant for one round, a second late
// entry of one participant, a return not after its withdrawal are refused. A fingerprint is 32
// lowercase hex digits: the first half of the BLAKE2b-256 hash of the .swz's counts, participant
// lines and the two numbers of every board (swzFingerprint), so that entering a result leaves it as
// it is; <content> is the same of the whole text.
//
// A companion normally holds one set. A save that changes the .swz's structure or both
// the records and the .swz writes first a companion with two sets: the new records for
// the new .swz (with its <content>, which makes the set unmistakable even when the
// structure stays), then the old records for the .swz still on disk; then the .swz;
// then the companion with the new set alone. A kill between any two of these writes
// leaves a pair that loads as before or as after. On loading, a set with <content>
// counts only for that exact text, a set without it for its structure; a companion with
// no set for the .swz beside it is refused by name and never replaced.
#include "swiss/swiss_companion.h"

#include "common/text_file.h"
#include "scoring/tiebreaks.h"
#include "swiss/swiss_file.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <algorithm>

namespace ladya {

namespace {

const QByteArray Header = QByteArrayLiteral("Ladya-SWX|1");
const QByteArray HeaderStart = QByteArrayLiteral("Ladya-SWX|");
constexpr int FingerprintLength = 32;

QString tr(const char* text) {
    return QCoreApplication::translate("SwissCompanion", text);
}

// BLAKE2b: several times faster here than SHA-256, and as unlikely to mistake one file
// for another.
QByteArray shortHash(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Blake2b_256)
        .toHex()
        .left(FingerprintLength);
}

// A fault of one record: its line (0 when it was not read from a file) and why.
struct RecordFault {
    int line = 0;
    QString reason;
};

void keepFirst(std::optional<RecordFault>& first, int line, const QString& reason) {
    if (!first || (line > 0 && line < first->line))
        first = RecordFault{line, reason};
}

int lineAt(const QVector<int>& lines, qsizetype i) {
    return i < lines.size() ? lines[i] : 0;
}

// The first fault of a set's records, for a .swz of `n` participants.
std::optional<RecordFault> setFault(const CompanionSet& set, int n) {
    std::optional<RecordFault> fault;
    const int maxRound = Limits::SwissRounds;
    const auto participantFault = [&](int line, int p) {
        if (p < 1 || p > n)
            keepFirst(fault, line,
                      tr("участника %1 нет в турнире (в нём %2 участников)")
                          .arg(QString::number(p), QString::number(n)));
    };
    const auto roundFault = [&](int line, int round, int first) {
        if (round < first || round > maxRound)
            keepFirst(fault, line,
                      tr("тур %1 вне пределов %2–%3")
                          .arg(QString::number(round), QString::number(first),
                               QString::number(maxRound)));
    };
    const SwissExtras& e = set.extras;
    if (e.plannedRounds != 0)
        roundFault(set.roundsLine, e.plannedRounds, 1);
    for (qsizetype i = 0; i < e.byes.size(); ++i) {
        const RequestedBye& b = e.byes[i];
        const int line = lineAt(set.byeLines, i);
        participantFault(line, b.participant);
        roundFault(line, b.round, 1);
        for (qsizetype k = 0; k < i; ++k) {
            if (e.byes[k].participant == b.participant && e.byes[k].round == b.round)
                keepFirst(fault, line,
                          tr("второй пропуск участника %1 в туре %2")
                              .arg(QString::number(b.participant), QString::number(b.round)));
        }
    }
    for (qsizetype i = 0; i < e.withdrawals.size(); ++i) {
        const Withdrawal& w = e.withdrawals[i];
        const int line = lineAt(set.withdrawalLines, i);
        participantFault(line, w.participant);
        roundFault(line, w.fromRound, 1);
        if (w.returnRound != 0) {
            roundFault(line, w.returnRound, 1);
            if (w.returnRound <= w.fromRound)
                keepFirst(fault, line,
                          tr("возвращение в туре %1 не позже выбытия с тура %2")
                              .arg(QString::number(w.returnRound), QString::number(w.fromRound)));
        }
    }
    for (qsizetype i = 0; i < e.lateEntries.size(); ++i) {
        const LateEntry& l = e.lateEntries[i];
        const int line = lineAt(set.lateLines, i);
        participantFault(line, l.participant);
        roundFault(line, l.firstRound, 2);
        if (l.missed == Absence::FullBye)
            keepFirst(fault, line, tr("пропущенные туры не приносят по очку"));
        for (qsizetype k = 0; k < i; ++k) {
            if (e.lateEntries[k].participant == l.participant)
                keepFirst(fault, line,
                          tr("второе позднее включение участника %1")
                              .arg(QString::number(l.participant)));
        }
    }
    if (e.acceleration.lastGa != 0)
        participantFault(set.accelerationLine, e.acceleration.lastGa);
    if (!e.tieBreaks.isEmpty()) {
        if (const Result<TieBreakList> list = parseTieBreakList(e.tieBreaks); !list)
            keepFirst(fault, set.tieBreaksLine,
                      tr("список тай-брейков не читается: %1").arg(list.failure().text));
    }
    for (qsizetype i = 0; i < e.forbidden.size(); ++i) {
        const ForbiddenPair& f = e.forbidden[i];
        const int line = lineAt(set.forbiddenLines, i);
        participantFault(line, f.first);
        participantFault(line, f.second);
        if (f.first == f.second)
            keepFirst(fault, line, tr("участник не может быть запрещённой парой сам себе"));
        roundFault(line, f.fromRound, 1);
        if (f.toRound != 0) {
            roundFault(line, f.toRound, 1);
            if (f.toRound < f.fromRound)
                keepFirst(fault, line,
                          tr("последний тур %1 раньше первого %2")
                              .arg(QString::number(f.toRound), QString::number(f.fromRound)));
        }
    }
    return fault;
}

QString lineRefusal(const QString& fileName, int line, const QString& reason) {
    return tr("Файл %1, строка %2: %3.").arg(fileName, QString::number(line), reason);
}

Message refused(const QString& text) {
    return {QStringLiteral("Ошибка"), text};
}

// A number as the companion writes it: 1 to 6 plain digits.
std::optional<int> plainNumber(QByteArrayView field) {
    if (field.isEmpty() || field.size() > 6)
        return std::nullopt;
    int value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<Absence> absenceKind(QByteArrayView field) {
    if (field == "H")
        return Absence::HalfBye;
    if (field == "Z")
        return Absence::ZeroBye;
    if (field == "F")
        return Absence::FullBye;
    return std::nullopt;
}

bool isFingerprint(QByteArrayView field) {
    return field.size() == FingerprintLength && std::all_of(field.begin(), field.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

void appendLine(QByteArray& out, std::initializer_list<QByteArray> fields) {
    bool first = true;
    for (const QByteArray& f : fields) {
        if (!first)
            out += '|';
        out += f;
        first = false;
    }
    out += "\r\n";
}

QVector<QByteArrayView> splitFields(QByteArrayView line) {
    QVector<QByteArrayView> fields;
    for (qsizetype bar; (bar = line.indexOf('|')) >= 0; line = line.sliced(bar + 1))
        fields.append(line.first(bar));
    fields.append(line);
    return fields;
}

QByteArray number(int value) {
    return QByteArray::number(value);
}

QByteArray kindText(Absence kind) {
    return QByteArray(1, char(kind));
}

} // namespace

QString companionPath(const QString& swzPath) {
    if (swzPath.endsWith(QStringLiteral(".swz"), Qt::CaseInsensitive))
        return swzPath.chopped(4) + QStringLiteral(".swx");
    return swzPath + QStringLiteral(".swx");
}

QByteArray swzFingerprint(QByteArrayView bytes) {
    // The counts, the participant lines and each game line up to its results, lines as
    // LineReader splits them; dates, round headers and results stay out. Copied into one
    // buffer with plain pointers and hashed at once: every result entered computes it
    // again over three thousand lines.
    constexpr qsizetype MostLines =
        4 + Limits::SwissParticipants + Limits::SwissRounds * (1 + Limits::SwissBoards);
    // Each line copied gets "\n" in place of its terminator; lines past the end, none.
    QByteArray structure(bytes.size() + MostLines, Qt::Uninitialized);
    char* out = structure.data();
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        p += 3;
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    const auto skipLine = [&] {
        while (p != end && !isBreak(*p))
            ++p;
        if (p != end && *p == '\r' && p + 1 != end && p[1] == '\n')
            ++p;
        if (p != end)
            ++p;
    };
    // Copies the line up to its second "|" (all of it when `whole`), then "\n".
    const auto copyLine = [&](bool whole) {
        const char* const start = out;
        int bars = 0;
        while (p != end && !isBreak(*p) && (whole || *p != '|' || ++bars < 2))
            *out++ = *p++;
        *out++ = '\n';
        skipLine();
        return QByteArrayView(start, out - start - 1);
    };
    skipLine();
    skipLine();
    const int r = qBound(0, parseLenientInt(copyLine(true)), Limits::SwissRounds);
    const int n = qBound(0, parseLenientInt(copyLine(true)), Limits::SwissParticipants);
    for (int i = 0; i < n; ++i)
        copyLine(true);
    for (int round = 0; round < r; ++round) {
        skipLine();
        for (int b = 0; b < n / 2; ++b)
            copyLine(false);
    }
    return shortHash(QByteArrayView(structure.constData(), out - structure.constData()));
}

QByteArray swzContentHash(QByteArrayView bytes) {
    return shortHash(bytes);
}

QByteArray swissFingerprint(const SwissTournament& tournament) {
    return swzFingerprint(swissFileBytes(tournament));
}

QByteArray companionBytes(const QVector<CompanionSet>& sets) {
    QByteArray out = Header + "\r\n";
    for (const CompanionSet& set : sets) {
        if (set.content.isEmpty())
            appendLine(out, {"swz", set.fingerprint});
        else
            appendLine(out, {"swz", set.fingerprint, set.content});
        const SwissExtras& e = set.extras;
        if (e.plannedRounds != 0)
            appendLine(out, {"rounds", number(e.plannedRounds)});
        for (const RequestedBye& b : e.byes)
            appendLine(out, {"bye", number(b.participant), number(b.round), kindText(b.kind)});
        for (const Withdrawal& w : e.withdrawals)
            appendLine(out, {"withdraw", number(w.participant), number(w.fromRound),
                             number(w.returnRound)});
        for (const LateEntry& l : e.lateEntries)
            appendLine(out,
                       {"late", number(l.participant), number(l.firstRound), kindText(l.missed)});
        for (const ForbiddenPair& f : e.forbidden)
            appendLine(out, {"forbid", number(f.first), number(f.second), number(f.fromRound),
                             number(f.toRound)});
        if (e.acceleration.baku)
            appendLine(out, {"accel", "baku", number(e.acceleration.lastGa)});
        if (!e.tieBreaks.isEmpty())
            appendLine(out, {"tiebreaks", e.tieBreaks.toUtf8()});
    }
    return out;
}

Result<QVector<CompanionSet>> parseCompanionBytes(QByteArrayView bytes, const QString& fileName) {
    if (const qsizetype bad = firstUndecodableLine(bytes))
        return refused(lineRefusal(fileName, int(bad), tr("текст не в кодировке UTF-8")));
    LineReader in(bytes);
    const QByteArrayView header = in.next();
    if (header != Header) {
        if (header.startsWith(HeaderStart))
            return refused(
                lineRefusal(fileName, 1,
                            tr("версия %1 этого файла программе неизвестна")
                                .arg(QString::fromUtf8(header.sliced(HeaderStart.size())))));
        return refused(lineRefusal(fileName, 1, tr("это не файл дополнений швейцарского турнира")));
    }
    QVector<CompanionSet> sets;
    for (int line = 2; !in.atEnd(); ++line) {
        const QVector<QByteArrayView> fields = splitFields(in.next());
        const QByteArrayView kind = fields.front();
        const auto fail = [&](const QString& reason) -> Message {
            return refused(lineRefusal(fileName, line, reason));
        };
        const QString fieldCount = tr("в записи \"%1\" должно быть полей: %2");
        // Fields from..to−1 read as numbers into `numbers`; the refusal of the first
        // that is none.
        QVector<int> numbers;
        const auto readNumbers = [&](qsizetype from, qsizetype to) -> std::optional<Message> {
            numbers.clear();
            for (qsizetype k = from; k < to; ++k) {
                const std::optional<int> value = plainNumber(fields[k]);
                if (!value)
                    return fail(tr("в записи \"%1\" вместо числа стоит \"%2\"")
                                    .arg(QString::fromUtf8(kind), QString::fromUtf8(fields[k])));
                numbers.append(*value);
            }
            return std::nullopt;
        };
        if (kind == "swz") {
            if (fields.size() != 2 && fields.size() != 3)
                return fail(fieldCount.arg(QStringLiteral("swz"), tr("2 или 3")));
            if (!isFingerprint(fields[1]) || (fields.size() == 3 && !isFingerprint(fields[2])))
                return fail(tr("отпечаток файла турнира записан неверно"));
            if (sets.size() == 2)
                return fail(tr("третий набор записей, а их бывает не больше двух"));
            CompanionSet set;
            set.fingerprint = fields[1].toByteArray();
            if (fields.size() == 3)
                set.content = fields[2].toByteArray();
            sets.append(std::move(set));
            continue;
        }
        if (kind != "rounds" && kind != "bye" && kind != "withdraw" && kind != "late" &&
            kind != "forbid" && kind != "accel" && kind != "tiebreaks")
            return fail(tr("неизвестная запись \"%1\"").arg(QString::fromUtf8(kind)));
        if (sets.isEmpty())
            return fail(tr("запись стоит до первой строки swz и не относится ни к одному "
                           "файлу турнира"));
        CompanionSet& set = sets.back();
        SwissExtras& e = set.extras;
        if (kind == "rounds") {
            if (fields.size() != 2)
                return fail(fieldCount.arg(QStringLiteral("rounds"), QStringLiteral("2")));
            if (std::optional<Message> bad = readNumbers(1, 2))
                return *bad;
            if (set.roundsLine != 0)
                return fail(tr("число туров уже записано в строке %1")
                                .arg(QString::number(set.roundsLine)));
            if (numbers[0] == 0)
                return fail(
                    tr("тур 0 вне пределов 1–%1").arg(QString::number(Limits::SwissRounds)));
            e.plannedRounds = numbers[0];
            set.roundsLine = line;
        } else if (kind == "bye" || kind == "late") {
            if (fields.size() != 4)
                return fail(fieldCount.arg(QString::fromUtf8(kind), QStringLiteral("4")));
            if (std::optional<Message> bad = readNumbers(1, 3))
                return *bad;
            const std::optional<Absence> absence = absenceKind(fields[3]);
            if (!absence)
                return fail(tr("вид пропуска \"%1\" неизвестен (бывает H, Z или F)")
                                .arg(QString::fromUtf8(fields[3])));
            if (kind == "bye") {
                e.byes.append({numbers[0], numbers[1], *absence});
                set.byeLines.append(line);
            } else {
                e.lateEntries.append({numbers[0], numbers[1], *absence});
                set.lateLines.append(line);
            }
        } else if (kind == "withdraw") {
            if (fields.size() != 4)
                return fail(fieldCount.arg(QStringLiteral("withdraw"), QStringLiteral("4")));
            if (std::optional<Message> bad = readNumbers(1, 4))
                return *bad;
            e.withdrawals.append({numbers[0], numbers[1], numbers[2]});
            set.withdrawalLines.append(line);
        } else if (kind == "accel") {
            if (fields.size() != 3)
                return fail(fieldCount.arg(QStringLiteral("accel"), QStringLiteral("3")));
            if (fields[1] != "baku")
                return fail(tr("ускорение \"%1\" неизвестно (бывает baku)")
                                .arg(QString::fromUtf8(fields[1])));
            if (std::optional<Message> bad = readNumbers(2, 3))
                return *bad;
            if (set.accelerationLine != 0)
                return fail(tr("ускорение уже записано в строке %1")
                                .arg(QString::number(set.accelerationLine)));
            e.acceleration = {true, numbers[0]};
            set.accelerationLine = line;
        } else if (kind == "tiebreaks") {
            if (fields.size() != 2)
                return fail(fieldCount.arg(QStringLiteral("tiebreaks"), QStringLiteral("2")));
            if (set.tieBreaksLine != 0)
                return fail(tr("список тай-брейков уже записан в строке %1")
                                .arg(QString::number(set.tieBreaksLine)));
            const Result<TieBreakList> list = parseTieBreakList(QString::fromUtf8(fields[1]));
            if (!list)
                return fail(tr("список тай-брейков не читается: %1").arg(list.failure().text));
            if (list->empty())
                return fail(tr("список тай-брейков пуст"));
            // Kept as the program writes it, so that the next save leaves the line alone.
            e.tieBreaks = tieBreakListText(*list);
            set.tieBreaksLine = line;
        } else {
            if (fields.size() != 5)
                return fail(fieldCount.arg(QStringLiteral("forbid"), QStringLiteral("5")));
            if (std::optional<Message> bad = readNumbers(1, 5))
                return *bad;
            e.forbidden.append({numbers[0], numbers[1], numbers[2], numbers[3]});
            set.forbiddenLines.append(line);
        }
    }
    if (sets.isEmpty())
        return refused(tr("Файл %1: нет ни одной строки swz, и неизвестно, к какому файлу "
                          "турнира он относится.")
                           .arg(fileName));
    // Within the tables' limits whichever .swz the set belongs to.
    for (const CompanionSet& set : std::as_const(sets)) {
        if (const std::optional<RecordFault> fault = setFault(set, Limits::SwissParticipants))
            return refused(lineRefusal(fileName, fault->line, fault->reason));
    }
    return sets;
}

Result<CompanionSet> companionSetFor(const QVector<CompanionSet>& sets, QByteArrayView swzBytes,
                                     int participantCount, const QString& fileName,
                                     const QString& swzFileName) {
    const QByteArray fingerprint = swzFingerprint(swzBytes);
    const bool anyContent = std::any_of(sets.begin(), sets.end(),
                                        [](const CompanionSet& s) { return !s.content.isEmpty(); });
    const QByteArray content = anyContent ? swzContentHash(swzBytes) : QByteArray();
    const CompanionSet* chosen = nullptr;
    for (const CompanionSet& set : sets) {
        if (!set.content.isEmpty() && set.fingerprint == fingerprint && set.content == content)
            chosen = &set;
    }
    for (const CompanionSet& set : sets) {
        if (!chosen && set.content.isEmpty() && set.fingerprint == fingerprint)
            chosen = &set;
    }
    if (!chosen)
        return refused(tr("Файл %1 не соответствует файлу турнира %2: записи в нём сделаны "
                          "для других участников или других пар. Файл оставлен как есть.")
                           .arg(fileName, swzFileName));
    if (const std::optional<RecordFault> fault = setFault(*chosen, participantCount))
        return refused(lineRefusal(fileName, fault->line, fault->reason));
    return *chosen;
}

QString extrasFault(const SwissExtras& extras, int participantCount) {
    CompanionSet set;
    set.extras = extras;
    const std::optional<RecordFault> fault = setFault(set, participantCount);
    return fault ? fault->reason : QString();
}

namespace {

// N as loading reads it from line 4 of the .swz.
int swzParticipantCount(QByteArrayView bytes) {
    LineReader in(bytes);
    for (int k = 1; k < 4; ++k)
        in.next();
    return parseLenientInt(in.next());
}

Message unreadableCompanion(const QString& path, const QString& reason) {
    return refused(tr("Не удалось прочитать файл %1\n%2").arg(QFileInfo(path).fileName(), reason));
}

// The companion at `path`, read and parsed; nullopt when there is none.
Result<std::optional<QVector<CompanionSet>>> readCompanion(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::optional<QVector<CompanionSet>>();
    QString reason;
    const std::optional<QByteArray> bytes = readFileBytes(path, &reason);
    if (!bytes)
        return unreadableCompanion(path, reason);
    Result<QVector<CompanionSet>> sets = parseCompanionBytes(*bytes, info.fileName());
    if (!sets)
        return sets.failure();
    return std::optional<QVector<CompanionSet>>(std::move(sets).value());
}

} // namespace

Result<SwissExtras> loadCompanion(const QString& swzPath, QByteArrayView swzBytes,
                                  int participantCount) {
    const QString path = companionPath(swzPath);
    const Result<std::optional<QVector<CompanionSet>>> sets = readCompanion(path);
    if (!sets)
        return sets.failure();
    if (!sets->has_value())
        return SwissExtras();
    const Result<CompanionSet> set =
        companionSetFor(**sets, swzBytes, participantCount, QFileInfo(path).fileName(),
                        QFileInfo(swzPath).fileName());
    if (!set)
        return set.failure();
    return set->extras;
}

std::optional<PairWriteFault> writeSwissPair(const QString& swzPath, const QByteArray& swzBytes,
                                             const SwissExtras& extras) {
    const QString path = companionPath(swzPath);
    const auto write = [](const QString& to, const QByteArray& bytes) {
        const Result<> written = writeFileAtomic(to, bytes);
        return written ? std::nullopt : std::optional(PairWriteFault{to, written.failure().text});
    };
    const auto writeSwz = [&] { return write(swzPath, swzBytes); };
    const auto writeCompanion = [&](const QVector<CompanionSet>& sets) {
        return write(path, companionBytes(sets));
    };

    const Result<std::optional<QVector<CompanionSet>>> found = readCompanion(path);
    if (!found)
        return PairWriteFault{path, found.failure().text};
    const std::optional<QVector<CompanionSet>>& sets = *found;
    // A tournament without records and without a companion: the .swz alone, as always.
    if (!sets && extras.isEmpty())
        return writeSwz();

    const QByteArray fingerprint = swzFingerprint(swzBytes);
    // Only results or dates changed: the companion stays as it is. This is the path of
    // every result entered.
    if (sets && sets->size() == 1 && sets->front().content.isEmpty() &&
        sets->front().fingerprint == fingerprint && sets->front().extras == extras)
        return writeSwz();

    const CompanionSet next{fingerprint, QByteArray(), extras, 0, {}, {}, {}, {}, 0, 0};
    // Without a .swz a companion belongs to nothing (a creation cut short): the new one
    // comes first, so that the .swz never appears without its records.
    const QFileInfo swzInfo(swzPath);
    if (!swzInfo.exists()) {
        if (std::optional<PairWriteFault> fault = writeCompanion({next}))
            return fault;
        return writeSwz();
    }
    QString reason;
    const std::optional<QByteArray> old = readFileBytes(swzPath, &reason);
    if (!old)
        return PairWriteFault{swzPath, reason};
    CompanionSet before{swzFingerprint(*old), QByteArray(), SwissExtras(), 0, {}, {}, {}, {}, 0, 0};
    if (sets) {
        // Refused exactly when loading the pair refuses it: a companion that does not
        // load is never replaced.
        const Result<CompanionSet> current = companionSetFor(
            *sets, *old, swzParticipantCount(*old), QFileInfo(path).fileName(), swzInfo.fileName());
        if (!current)
            return PairWriteFault{path, current.failure().text};
        before.extras = current->extras;
    }
    // The .swz stays: one write of the companion changes the pair at once.
    if (*old == swzBytes)
        return writeCompanion({next});
    CompanionSet pending = next;
    pending.content = swzContentHash(swzBytes);
    if (std::optional<PairWriteFault> fault = writeCompanion({pending, before}))
        return fault;
    if (std::optional<PairWriteFault> fault = writeSwz())
        return fault;
    // The pair is complete already: the two sets load as the new one, and the next save
    // tidies the companion if this write fails.
    writeCompanion({next});
    return std::nullopt;
}

} // namespace ladya
