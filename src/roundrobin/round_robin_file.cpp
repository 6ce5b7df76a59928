#include "roundrobin/round_robin_file.h"

#include "scoring/tiebreaks.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace ladya {

namespace GameResult {

bool isValid(const QString& code) {
    return code.isEmpty() || code == Win || code == Loss || code == Draw || code == ForfeitWin ||
           code == ForfeitLoss;
}

QString mirrorOf(const QString& whiteCode) {
    if (whiteCode == Win)
        return Loss;
    if (whiteCode == Loss)
        return Win;
    if (whiteCode == Draw)
        return Draw;
    if (whiteCode == ForfeitWin)
        return ForfeitLoss;
    if (whiteCode == ForfeitLoss)
        return ForfeitWin;
    return QString();
}

} // namespace GameResult

void RoundRobinGame::applyEntry(const QString& entry) {
    if (entry == GameResult::DoubleForfeitInFile) {
        result = GameResult::ForfeitLoss;
        mirrorResult = GameResult::ForfeitLoss;
    } else {
        result = entry;
        mirrorResult = GameResult::mirrorOf(entry);
    }
}

QStringList RoundRobinTournament::participantNames() const {
    QStringList names;
    names.reserve(participants.size());
    for (const Participant& p : participants)
        names.append(p.name);
    return names;
}

int RoundRobinTournament::countUnplayed() const {
    int count = 0;
    for (const auto& round : games)
        for (const RoundRobinGame& g : round)
            count += g.isPlayed() ? 0 : 1;
    return count;
}

bool RoundRobinTournament::operator==(const RoundRobinTournament& other) const {
    const TournamentState& a = state;
    const TournamentState& b = other.state;
    return a.path == b.path && a.kind == b.kind && a.startDate == b.startDate &&
           a.endDate == b.endDate && a.participantCount == b.participantCount &&
           a.roundCount == b.roundCount && a.boardCount == b.boardCount &&
           a.unplayedCount == b.unplayedCount && a.ratingCoefficient == b.ratingCoefficient &&
           participants == other.participants && games == other.games &&
           tieBreaks == other.tieBreaks;
}

QString RoundRobinTournament::displayName() const {
    return QFileInfo(state.path)
        .fileName()
        .chopped(std::min<qsizetype>(4, QFileInfo(state.path).fileName().size()));
}

QStringList roundRobinLines(const RoundRobinTournament& t) {
    QStringList lines;
    lines.reserve(6 + 5 * t.participantCount() + 3 * t.roundCount() * t.boardCount());
    lines << t.state.startDate << t.state.endDate << QString::number(t.participantCount())
          << QString::number(t.roundCount()) << QString::number(t.boardCount()) << t.state.kind;
    for (const Participant& p : t.participants)
        lines << p.number << p.name << p.category << p.rating << p.city;
    for (int r = 1; r <= t.roundCount(); ++r) {
        for (int b = 1; b <= t.boardCount(); ++b) {
            const RoundRobinGame& g = t.game(r, b);
            lines << g.white << g.black
                  << (g.isDoubleForfeit() ? GameResult::DoubleForfeitInFile : g.result);
        }
    }
    return lines;
}

namespace {

const QString LoadErrorTitle = QStringLiteral("Ошибка");

Message loadError(const QString& path, const QString& reason) {
    return {LoadErrorTitle, QStringLiteral("Не удалось открыть турнир из файла %1\n%2")
                                .arg(QFileInfo(path).fileName(), reason)};
}

} // namespace

Result<RoundRobinTournament> parseRoundRobin(const QStringList& lines, const QString& path) {
    if (lines.size() < 6)
        return loadError(path, QStringLiteral("Файл пуст или поврежден: нет заголовка турнира."));
    const int n = parseLenientInt(lines.at(2));
    const int r = parseLenientInt(lines.at(3));
    const int b = parseLenientInt(lines.at(4));
    const auto outOfRange = [&path](const QString& what, int value, int limit) {
        return loadError(path, QStringLiteral("%1 %2 вне допустимых пределов (0..%3).")
                                   .arg(what, QString::number(value), QString::number(limit)));
    };
    if (n < 0 || n > Limits::RoundRobinRows)
        return outOfRange(QStringLiteral("Число участников"), n, Limits::RoundRobinRows);
    if (r < 0 || r > Limits::RoundRobinRounds)
        return outOfRange(QStringLiteral("Число туров"), r, Limits::RoundRobinRounds);
    if (b < 0 || b > Limits::RoundRobinBoards)
        return outOfRange(QStringLiteral("Число партий в туре"), b, Limits::RoundRobinBoards);
    // Each row plays at most once a round: more boards would make up games.
    if (2 * b > n)
        return loadError(path,
                         QStringLiteral("Строка 5: в туре %1 партий, а у %2 участников "
                                        "их может быть не больше %3.")
                             .arg(QString::number(b), QString::number(n), QString::number(n / 2)));
    const qsizetype needed = 6 + 5 * qsizetype(n) + 3 * qsizetype(r) * b;
    if (lines.size() < needed)
        return loadError(path, QStringLiteral("Файл оборван: в нем %1 строк, а нужно %2.")
                                   .arg(QString::number(lines.size()), QString::number(needed)));

    RoundRobinTournament t;
    t.state.path = path;
    t.state.startDate = lines.at(0);
    t.state.endDate = lines.at(1);
    t.state.participantCount = n;
    t.state.roundCount = r;
    t.state.boardCount = b;
    t.state.kind = lines.at(5);
    qsizetype at = 6;
    t.participants.reserve(n);
    for (int k = 0; k < n; ++k, at += 5)
        t.participants.append(
            {lines.at(at), lines.at(at + 1), lines.at(at + 2), lines.at(at + 3), lines.at(at + 4)});
    // Each game's names share their text with the participant row of that name, so
    // that linking the games to the rows can go by identity.
    // Games name their players by name: two rows of one name would share each other's
    // games, and a name of no row would score for nobody.
    QHash<QString, QString> rowNames;
    for (int k = 0; k < n; ++k) {
        const QString& name = t.participants.at(k).name;
        if (rowNames.contains(name))
            return loadError(path, QStringLiteral("Строка %1: участник \"%2\" записан дважды.")
                                       .arg(QString::number(6 + 5 * k + 2), name));
        rowNames.insert(name, name);
    }
    t.games.resize(r);
    for (int round = 0; round < r; ++round) {
        t.games[round].reserve(b);
        for (int board = 0; board < b; ++board, at += 3) {
            for (int side = 0; side < 2; ++side) {
                if (!rowNames.contains(lines.at(at + side)))
                    return loadError(
                        path, QStringLiteral("Строка %1: в партии назван \"%2\", которого нет "
                                             "среди участников (тур %3, доска %4).")
                                  .arg(QString::number(at + side + 1), lines.at(at + side),
                                       QString::number(round + 1), QString::number(board + 1)));
            }
            RoundRobinGame g{rowNames.value(lines.at(at)), rowNames.value(lines.at(at + 1)),
                             lines.at(at + 2), QString()};
            if (g.result == GameResult::DoubleForfeitInFile) {
                g.result = GameResult::ForfeitLoss;
                g.mirrorResult = GameResult::ForfeitLoss;
            } else if (GameResult::isValid(g.result)) {
                g.mirrorResult = GameResult::mirrorOf(g.result);
            } else {
                return loadError(
                    path, QStringLiteral(
                              "Строка %1: неизвестный результат партии \"%2\" (тур %3, доска %4).")
                              .arg(QString::number(at + 3), g.result, QString::number(round + 1),
                                   QString::number(board + 1)));
            }
            t.games[round].append(std::move(g));
        }
    }
    t.state.unplayedCount = t.countUnplayed();
    return t;
}

Result<RoundRobinTournament> loadRoundRobin(const QString& path) {
    QString reason;
    const std::optional<QStringList> lines = readTextLines(path, &reason);
    if (!lines)
        return loadError(path, QStringLiteral("Файл не читается: %1").arg(reason));
    Result<RoundRobinTournament> t = parseRoundRobin(*lines, path);
    if (!t)
        return t;
    const Result<QString> tieBreaks = loadRoundRobinTieBreaks(path);
    if (!tieBreaks)
        return tieBreaks.failure();
    t->tieBreaks = *tieBreaks;
    return t;
}

// The .krx beside the .kr2: the tie-break list the regulations announce, which the
// .kr2's fixed layout has no line for.
//
//   Ladya-KRX|1          the format and its version; always line 1
//   tiebreaks|<list>     the list as tieBreakListText writes it ("BH/C1,BH,SB,DE")
//
// Text as every file of the program: UTF-8, every line ending CR LF. The file is
// written only while a list is chosen; a tournament without one has none.
namespace {

const QByteArray KrxHeader = QByteArrayLiteral("Ladya-KRX|1");
const QByteArray KrxHeaderStart = QByteArrayLiteral("Ladya-KRX|");

QString krxTr(const char* text) {
    return QCoreApplication::translate("RoundRobinFile", text);
}

Message krxRefusal(const QString& fileName, int line, const QString& reason) {
    return {LoadErrorTitle,
            krxTr("Файл %1, строка %2: %3.").arg(fileName, QString::number(line), reason)};
}

} // namespace

QString roundRobinTieBreaksPath(const QString& kr2Path) {
    if (kr2Path.endsWith(QStringLiteral(".kr2"), Qt::CaseInsensitive))
        return kr2Path.chopped(4) + QStringLiteral(".krx");
    return kr2Path + QStringLiteral(".krx");
}

QByteArray roundRobinTieBreaksBytes(const QString& listText) {
    return KrxHeader + "\r\ntiebreaks|" + listText.toUtf8() + "\r\n";
}

Result<QString> parseRoundRobinTieBreaks(QByteArrayView bytes, const QString& fileName) {
    if (const qsizetype bad = firstUndecodableLine(bytes))
        return krxRefusal(fileName, int(bad), krxTr("текст не в кодировке UTF-8"));
    LineReader in(bytes);
    const QByteArrayView header = in.next();
    if (header != KrxHeader) {
        if (header.startsWith(KrxHeaderStart))
            return krxRefusal(fileName, 1,
                              krxTr("версия %1 этого файла программе неизвестна")
                                  .arg(QString::fromUtf8(header.sliced(KrxHeaderStart.size()))));
        return krxRefusal(fileName, 1, krxTr("это не файл тай-брейков кругового турнира"));
    }
    QString list;
    int listLine = 0;
    for (int line = 2; !in.atEnd(); ++line) {
        const QByteArrayView record = in.next();
        const qsizetype bar = record.indexOf('|');
        const QByteArrayView kind = bar < 0 ? record : record.first(bar);
        if (kind != "tiebreaks")
            return krxRefusal(fileName, line,
                              krxTr("неизвестная запись \"%1\"").arg(QString::fromUtf8(kind)));
        if (listLine != 0)
            return krxRefusal(
                fileName, line,
                krxTr("список тай-брейков уже записан в строке %1").arg(QString::number(listLine)));
        const QString text = bar < 0 ? QString() : QString::fromUtf8(record.sliced(bar + 1));
        const Result<TieBreakList> parsed = parseTieBreakList(text);
        if (!parsed)
            return krxRefusal(
                fileName, line,
                krxTr("список тай-брейков не читается: %1").arg(parsed.failure().text));
        if (parsed->empty())
            return krxRefusal(fileName, line, krxTr("список тай-брейков пуст"));
        list = tieBreakListText(*parsed);
        listLine = line;
    }
    return list;
}

Result<QString> loadRoundRobinTieBreaks(const QString& kr2Path) {
    const QString path = roundRobinTieBreaksPath(kr2Path);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    QString reason;
    const std::optional<QByteArray> bytes = readFileBytes(path, &reason);
    if (!bytes)
        return Message{LoadErrorTitle,
                       krxTr("Не удалось прочитать файл %1\n%2").arg(info.fileName(), reason)};
    return parseRoundRobinTieBreaks(*bytes, info.fileName());
}

Result<> saveRoundRobinTieBreaks(const QString& kr2Path, const QString& listText) {
    const QString path = roundRobinTieBreaksPath(kr2Path);
    // A .krx that does not load holds something the director has not seen: kept.
    if (const Result<QString> current = loadRoundRobinTieBreaks(kr2Path); !current)
        return roundRobinSaveFailedMessage(path, current.failure().text);
    if (listText.isEmpty()) {
        QFile file(path);
        if (!file.exists() || file.remove())
            return {};
        return roundRobinSaveFailedMessage(path, file.errorString());
    }
    if (const Result<TieBreakList> parsed = parseTieBreakList(listText); !parsed)
        return parsed.failure();
    if (const Result<> written = writeFileAtomic(path, roundRobinTieBreaksBytes(listText));
        !written)
        return roundRobinSaveFailedMessage(path, written.failure().text);
    return {};
}

QByteArray roundRobinFileBytes(const RoundRobinTournament& t) {
    // The largest file has 7,606 lines, nearly all of them names of the game table.
    // Each row's name is encoded once and its bytes reused for every game that shares
    // the row's text.
    struct Encoded {
        qsizetype length;
        QByteArray bytes;
    };
    QHash<const QChar*, Encoded> encodedNames;
    for (const Participant& p : t.participants)
        encodedNames.insert(p.name.constData(), {p.name.size(), p.name.toUtf8()});
    QByteArray out;
    out.reserve(64 * (6 + 5 * t.participantCount()) + 48 * t.roundCount() * t.boardCount());
    const auto put = [&out](const QString& line) {
        out += line.toUtf8();
        out += "\r\n";
    };
    const auto putName = [&](const QString& name) {
        const auto it = encodedNames.constFind(name.constData());
        // The same text pointer and length: the same name.
        if (it != encodedNames.constEnd() && it->length == name.size()) {
            out += it->bytes;
            out += "\r\n";
            return;
        }
        put(name);
    };
    put(t.state.startDate);
    put(t.state.endDate);
    put(QString::number(t.participantCount()));
    put(QString::number(t.roundCount()));
    put(QString::number(t.boardCount()));
    put(t.state.kind);
    for (const Participant& p : t.participants) {
        put(p.number);
        put(p.name);
        put(p.category);
        put(p.rating);
        put(p.city);
    }
    for (int r = 1; r <= t.roundCount(); ++r) {
        for (int b = 1; b <= t.boardCount(); ++b) {
            const RoundRobinGame& g = t.game(r, b);
            putName(g.white);
            putName(g.black);
            put(g.isDoubleForfeit() ? GameResult::DoubleForfeitInFile : g.result);
        }
    }
    keepLeadingMark(out);
    return out;
}

Result<> saveRoundRobin(const RoundRobinTournament& tournament, const QString& path) {
    const QString target = path.isEmpty() ? tournament.state.path : path;
    if (const Result<> written = writeFileAtomic(target, roundRobinFileBytes(tournament)); !written)
        return roundRobinSaveFailedMessage(target, written.failure().text);
    return {};
}

Message roundRobinSaveFailedMessage(const QString& path, const QString& reason) {
    Message message{
        QStringLiteral("Ошибка создания файла"),
        QStringLiteral(
            "Не удалось сохранить данные турнира в файл\n1. Возможно у вас нет прав на "
            "создание файлов.\n2. В названии турнира используются недопустимые символы.")};
    if (!path.isEmpty() || !reason.isEmpty())
        message.text += u'\n' + fileFailureDetail(path, reason);
    return message;
}

} // namespace ladya
