#include "swiss/swiss_file.h"

#include "common/text_file.h"
#include "swiss/swiss_companion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace ladya {

namespace {

const QString RoundHeaderSuffix = QStringLiteral(" ТУР");

// The next "|"-separated field of `rest`, empty once the line has no more fields.
QByteArrayView takeField(QByteArrayView& rest) {
    if (rest.isNull())
        return {};
    const qsizetype bar = rest.indexOf('|');
    const QByteArrayView field = bar < 0 ? rest : rest.first(bar);
    rest = bar < 0 ? QByteArrayView() : rest.sliced(bar + 1);
    return field;
}

// Result codes share one copy each instead of a small allocation per game. A byte is
// looked up rather than switched on: the codes of a file follow no pattern a jump
// could predict.
const QString Codes[] = {QString(),           QStringLiteral("1"), QStringLiteral("0"),
                         QStringLiteral("%"), QStringLiteral("+"), QStringLiteral("-")};
constexpr std::array<unsigned char, 256> CodeIndex = [] {
    std::array<unsigned char, 256> index{};
    index['1'] = 1;
    index['0'] = 2;
    index['%'] = 3;
    index['+'] = 4;
    index['-'] = 5;
    return index;
}();

// The shared copy of a one-byte code; null for a byte that is not a code.
const QString& sharedCode(char c) {
    return Codes[CodeIndex[static_cast<unsigned char>(c)]];
}

QString internCode(QByteArrayView code) {
    if (code.size() == 1 && !sharedCode(code.front()).isNull())
        return sharedCode(code.front());
    return code.isEmpty() ? QString() : decodeUtf8(code);
}

// Reads the next line as a game line in the form the program writes: two plain numbers
// and two codes of at most one known character, then the line's end. False, with nothing
// read, for anything else, which is then read the lenient way. The line is found while
// it is read: the file's lines are short, and finding each end first costs as much.
bool readWrittenGameLine(LineReader& in, QVector<SwissGame>& round) {
    const QByteArrayView rest = in.rest();
    const char* const start = rest.data();
    const char* const end = start + rest.size();
    const char* p = start;
    const auto number = [&p, end](int& out) {
        const char* const first = p;
        int value = 0;
        while (p != end && *p >= '0' && *p <= '9' && p - first < 6)
            value = value * 10 + (*p++ - '0');
        out = value;
        return p != first && p - first < 6;
    };
    const auto bar = [&p, end] { return p != end && *p++ == '|'; };
    // 0 for an empty code, and for a byte that is not a code (which fails the line).
    const auto code = [&p, end](int& out) {
        out = 0;
        if (p == end || *p == '|' || *p == '\r' || *p == '\n')
            return true;
        out = CodeIndex[static_cast<unsigned char>(*p++)];
        return out != 0;
    };
    const auto lineEnd = [&p, end] { return p == end || *p == '\r' || *p == '\n'; };
    int white = 0, black = 0, whiteCode = 0, blackCode = 0;
    if (!(number(white) && bar() && number(black) && bar() && code(whiteCode) && bar() &&
          code(blackCode) && lineEnd()))
        return false;
    round.append(SwissGame{white, black, Codes[whiteCode], Codes[blackCode]});
    in.skipLine(p - start);
    return true;
}

SwissGame parseGameLineLeniently(QByteArrayView rest) {
    const QByteArrayView white = takeField(rest);
    const QByteArrayView black = takeField(rest);
    const QByteArrayView whiteCode = takeField(rest);
    const QByteArrayView blackCode = takeField(rest);
    return {parseLenientInt(white), parseLenientInt(black), internCode(whiteCode),
            internCode(blackCode)};
}

Message loadFailed(const QString& text) {
    return {QStringLiteral("Ошибка"), text};
}

QString incompleteGameLine(qsizetype line) {
    return QStringLiteral("Строка %1: партия записана не полностью (файл оборван или "
                          "повреждён).")
        .arg(line);
}

// A game names participants 1..N, or nobody at all on an empty board; anything else
// (only a hand-edited file holds it) would count for nobody or for the wrong row.
QString gameFault(const SwissGame& g, int n, qsizetype line, int round, int board) {
    if (g.isEmpty() && g.whiteResult.isEmpty() && g.blackResult.isEmpty())
        return QString();
    if (g.isEmpty())
        return QCoreApplication::translate("SwissFile",
                                           "Строка %1: на пустой доске записан результат "
                                           "(тур %2, доска %3).")
            .arg(QString::number(line), QString::number(round), QString::number(board));
    for (const int number : {g.white, g.black}) {
        if (number < 1 || number > n)
            return QCoreApplication::translate("SwissFile",
                                               "Строка %1: в партии назван участник %2, "
                                               "которого нет в турнире (тур %3, доска %4).")
                .arg(QString::number(line), QString::number(number), QString::number(round),
                     QString::number(board));
    }
    return QString();
}

bool namesTheTable(const SwissGame& g, int n) {
    if (g.isEmpty())
        return g.whiteResult.isEmpty() && g.blackResult.isEmpty();
    return g.white >= 1 && g.white <= n && g.black >= 1 && g.black <= n;
}

qsizetype countLines(QByteArrayView bytes) {
    LineReader reader(bytes);
    qsizetype lines = 0;
    for (; !reader.atEnd(); ++lines)
        reader.next();
    return lines;
}

// A round-robin file names its kind in line 6, which no Swiss file holds.
bool isRoundRobinFile(QByteArrayView bytes) {
    LineReader in(bytes);
    for (int k = 1; k < 6; ++k)
        in.next();
    const QByteArrayView kind = in.next();
    return kind == QByteArrayView(TournamentKind::OneCycle.toUtf8()) ||
           kind == QByteArrayView(TournamentKind::TwoCycles.toUtf8());
}

} // namespace

void SwissTournament::deriveCounts() {
    const int n = participantCount();
    byeNumber = 0;
    for (int i = 1; i <= n; ++i) {
        if (std::as_const(participants)[i - 1].name == ByeText)
            byeNumber = i;
    }
    forfeitCounts = QVector<int>(n, 0);
    int* const counts = forfeitCounts.data();
    // A forfeit code of either side counts for the other player of the board.
    const auto isForfeit = [](const QString& code) {
        const char c = codeByte(code);
        return c == '+' || c == '-';
    };
    for (const QVector<SwissGame>& round : std::as_const(rounds)) {
        for (const SwissGame& g : round) {
            if (g.isEmpty())
                continue;
            if (isForfeit(g.blackResult) && g.white >= 1 && g.white <= n)
                ++counts[g.white - 1];
            if (isForfeit(g.whiteResult) && g.black >= 1 && g.black <= n)
                ++counts[g.black - 1];
        }
    }
    state.kind = TournamentKind::Swiss;
    state.participantCount = n;
    state.roundCount = roundCount();
    state.boardCount = boardCount();
}

namespace {

int decimalLength(int value) {
    if (value >= 0 && value < 1000)
        return value < 10 ? 1 : value < 100 ? 2 : 3;
    char buffer[16];
    return int(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
}

// UTF-8 of a text as QString::toUtf8 writes it: the room it needs, counted before the
// text is written straight into one buffer.
qsizetype utf8Bound(QStringView text) {
    qsizetype length = 0;
    for (const QChar c : text)
        length += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : 3;
    return length;
}

// Bytes of a code in the file: every code the program writes is one ASCII byte; only a
// hand-edited file holds any other, which is kept as it was read.
qsizetype codeLength(const QString& code) {
    if (code.isEmpty())
        return 0;
    return codeByte(code) != 0 ? 1 : code.toUtf8().size();
}

// Writes into a buffer of counted length and notes whether reading the text gives back
// the values written: not when a field holds a "|" or a line break, or a character that
// UTF-8 cannot carry as it is.
class TextWriter {
public:
    explicit TextWriter(char* begin) : m_p(begin) {}

    char* position() const { return m_p; }
    bool readsBack() const { return m_readsBack; }
    void spoil() { m_readsBack = false; }

    void byte(char c) { *m_p++ = c; }
    void endLine() {
        *m_p++ = '\r';
        *m_p++ = '\n';
    }
    void bytes(const QByteArray& b) { m_p = std::copy(b.begin(), b.end(), m_p); }

    void number(int value) {
        // Only numbers the reader takes the quick way are known to read back unchanged.
        if (value < 0 || value > 99999)
            m_readsBack = false;
        if (value < 0 || value >= 1000) {
            m_p = std::to_chars(m_p, m_p + 11, value).ptr;
            return;
        }
        if (value >= 100) {
            *m_p++ = char('0' + value / 100);
            value %= 100;
            *m_p++ = char('0' + value / 10);
        } else if (value >= 10) {
            *m_p++ = char('0' + value / 10);
        }
        *m_p++ = char('0' + value % 10);
    }

    void text(QStringView text) {
        char* const start = m_p;
        bool breaksField = false;
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x80) {
                breaksField |= (u == '|') | (u == '\r') | (u == '\n');
                *m_p++ = char(u);
            } else if (u < 0x800) {
                *m_p++ = char(0xC0 | (u >> 6));
                *m_p++ = char(0x80 | (u & 0x3F));
            } else if (!QChar::isSurrogate(u)) {
                *m_p++ = char(0xE0 | (u >> 12));
                *m_p++ = char(0x80 | ((u >> 6) & 0x3F));
                *m_p++ = char(0x80 | (u & 0x3F));
            } else {
                // Beyond the basic plane, or a broken half: as toUtf8 writes it.
                m_readsBack = false;
                const QByteArray utf8 = text.toUtf8();
                m_p = std::copy(utf8.begin(), utf8.end(), start);
                return;
            }
        }
        if (breaksField)
            m_readsBack = false;
    }

    void code(const QString& code) {
        if (code.isEmpty())
            return;
        if (const char c = codeByte(code)) {
            if (c == '|' || c == '\r' || c == '\n')
                m_readsBack = false;
            *m_p++ = c;
            return;
        }
        m_readsBack = false;
        bytes(code.toUtf8());
    }

private:
    char* m_p;
    bool m_readsBack = true;
};

} // namespace

SwissFileText swissFileText(const SwissTournament& t) {
    // The file is rewritten after every result, and three thousand game lines make up
    // most of it: its length is counted first and the text written straight into one
    // buffer of that length.
    static const SwissGame Empty;
    const int boards = t.boardCount();
    // A round always has its N / 2 boards; one that somehow lacks some is written with
    // empty boards rather than short.
    const auto gameAt = [](const QVector<SwissGame>& round, int b) -> const SwissGame& {
        return b < round.size() ? round[b] : Empty;
    };
    const QByteArray roundHeader = RoundHeaderSuffix.toUtf8();
    const QByteArray counts = QByteArray::number(t.roundCount()) + "\r\n" +
                              QByteArray::number(t.participantCount()) + "\r\n";

    // A file read skips a byte-order mark at its start: a start date that begins with
    // the character gets one in front.
    const bool leadingMark = t.state.startDate.startsWith(QChar(0xFEFF));
    qsizetype length = (leadingMark ? 3 : 0) + utf8Bound(t.state.startDate) +
                       utf8Bound(t.state.endDate) + 4 + counts.size();
    for (const Participant& p : t.participants)
        length += utf8Bound(p.number) + utf8Bound(p.name) + utf8Bound(p.category) +
                  utf8Bound(p.rating) + utf8Bound(p.city) + 6;
    for (int r = 1; r <= t.roundCount(); ++r) {
        length += decimalLength(r) + roundHeader.size() + 2;
        const QVector<SwissGame>& round = t.rounds[r - 1];
        for (int b = 0; b < boards; ++b) {
            const SwissGame& g = gameAt(round, b);
            length += decimalLength(g.white) + decimalLength(g.black) + codeLength(g.whiteResult) +
                      codeLength(g.blackResult) + 5;
        }
    }

    SwissFileText result;
    result.bytes = QByteArray(length, Qt::Uninitialized);
    char* const begin = result.bytes.data();
    TextWriter out(begin);
    if (leadingMark)
        out.bytes(QByteArrayLiteral("\xEF\xBB\xBF"));
    // Counts beyond the tables are refused on reading.
    if (t.roundCount() > Limits::SwissRounds || t.participantCount() > Limits::SwissParticipants)
        out.spoil();
    out.text(t.state.startDate);
    out.endLine();
    out.text(t.state.endDate);
    out.endLine();
    out.bytes(counts);
    for (const Participant& participant : t.participants) {
        out.text(participant.number);
        out.byte('|');
        out.text(participant.name);
        out.byte('|');
        out.text(participant.category);
        out.byte('|');
        out.text(participant.rating);
        out.byte('|');
        out.text(participant.city);
        out.endLine();
    }
    for (int r = 1; r <= t.roundCount(); ++r) {
        out.number(r);
        out.bytes(roundHeader);
        out.endLine();
        const QVector<SwissGame>& round = t.rounds[r - 1];
        if (round.size() != boards)
            out.spoil();
        for (int b = 0; b < boards; ++b) {
            const SwissGame& g = gameAt(round, b);
            // A result for one side only is refused on reading, as a line cut short, and
            // so is a number outside the table.
            if (g.whiteResult.isEmpty() != g.blackResult.isEmpty() ||
                !namesTheTable(g, t.participantCount()))
                out.spoil();
            out.number(g.white);
            out.byte('|');
            out.number(g.black);
            out.byte('|');
            out.code(g.whiteResult);
            out.byte('|');
            out.code(g.blackResult);
            out.endLine();
        }
    }
    // Only a character beyond the basic plane makes the text shorter than counted.
    result.bytes.truncate(out.position() - begin);
    result.readsBack = out.readsBack();
    result.extras = t.extras;
    if (!t.extras.isEmpty()) {
        result.extrasFault = extrasFault(t.extras, t.participantCount());
        if (!result.extrasFault.isEmpty())
            result.readsBack = false;
    }
    return result;
}

QByteArray swissFileBytes(const SwissTournament& t) {
    return swissFileText(t).bytes;
}

QStringList swissFileLines(const SwissTournament& t) {
    return splitLines(swissFileBytes(t));
}

Result<SwissTournament> parseSwissBytes(QByteArrayView bytes) {
    if (const qsizetype bad = firstUndecodableLine(bytes))
        return loadFailed(undecodableLineReason(bad));
    LineReader in(bytes);
    // The header's four lines must be there: an empty or cut-off file is not a
    // tournament without players.
    QByteArrayView header[4];
    int headerLines = 0;
    for (; headerLines < 4 && !in.atEnd(); ++headerLines)
        header[headerLines] = in.next();
    if (headerLines < 4)
        return loadFailed(QStringLiteral("Файл пуст или оборван: нет заголовка турнира."));
    SwissTournament t;
    t.state.startDate = decodeUtf8(header[0]);
    t.state.endDate = decodeUtf8(header[1]);
    const int roundCount = parseLenientInt(header[2]);
    const int participantCount = parseLenientInt(header[3]);
    if (isRoundRobinFile(bytes))
        return loadFailed(QStringLiteral("Это файл кругового турнира (.kr2), а не швейцарского: "
                                         "в строке 6 записан вид турнира."));
    if (participantCount < 0 || participantCount > Limits::SwissParticipants)
        return loadFailed(QStringLiteral("Файл турнира повреждён или слишком велик: в нём %1 "
                                         "участников, а допускается от 0 до %2.")
                              .arg(QString::number(participantCount),
                                   QString::number(Limits::SwissParticipants)));
    if (roundCount < 0 || roundCount > Limits::SwissRounds)
        return loadFailed(
            QStringLiteral("Файл турнира повреждён или слишком велик: в нём %1 "
                           "туров, а допускается от 0 до %2.")
                .arg(QString::number(roundCount), QString::number(Limits::SwissRounds)));

    const int boards = participantCount / 2;
    // Every line the header promises must be there: a cut-off file would otherwise
    // load with its missing games empty, and the next save would make that final.
    const qsizetype needed = 4 + qsizetype(participantCount) + qsizetype(roundCount) * (1 + boards);
    const qsizetype present = 4 + countLines(in.rest());
    if (present < needed)
        return loadFailed(QStringLiteral("Файл оборван: в нем %1 строк, а нужно %2.")
                              .arg(QString::number(present), QString::number(needed)));

    // Fields are split before decoding: "|" never occurs inside a UTF-8 sequence.
    t.participants.reserve(participantCount);
    for (int i = 1; i <= participantCount; ++i) {
        QByteArrayView rest = in.next();
        Participant p;
        for (QString* field : {&p.number, &p.name, &p.category, &p.rating, &p.city})
            *field = decodeUtf8(takeField(rest));
        t.participants.append(std::move(p));
    }
    t.rounds.reserve(roundCount);
    qsizetype line = 4 + participantCount;
    for (int r = 1; r <= roundCount; ++r) {
        in.next(); // the round header; its text is not relied on
        ++line;
        QVector<SwissGame> round;
        round.reserve(boards);
        for (int b = 1; b <= boards; ++b) {
            ++line;
            if (!readWrittenGameLine(in, round)) {
                const QByteArrayView text = in.next();
                if (text.count('|') != 3)
                    return loadFailed(incompleteGameLine(line));
                round.append(parseGameLineLeniently(text));
            }
            // Every game line has its four fields, and a result for both sides or for
            // neither: anything else is a line cut short.
            if (round.back().whiteResult.isEmpty() != round.back().blackResult.isEmpty())
                return loadFailed(incompleteGameLine(line));
            if (const QString fault = gameFault(round.back(), participantCount, line, r, b);
                !fault.isEmpty())
                return loadFailed(fault);
        }
        t.rounds.append(std::move(round));
    }
    t.deriveCounts();
    return t;
}

Result<SwissTournament> parseSwissLines(const QStringList& lines) {
    return parseSwissBytes(joinLinesCrLf(lines));
}

namespace {

Result<SwissTournament> parseSwissFile(const QString& path, const QByteArray& bytes) {
    Result<SwissTournament> result = parseSwissBytes(bytes);
    if (!result) {
        Message failure = result.failure();
        failure.text = QStringLiteral("Не удалось открыть турнир из файла %1\n%2")
                           .arg(QFileInfo(path).fileName(), failure.text);
        return failure;
    }
    result->state.path = path;
    Result<SwissExtras> extras = loadCompanion(path, bytes, result->participantCount());
    if (!extras)
        return loadFailed(QStringLiteral("Не удалось открыть турнир из файла %1\n%2")
                              .arg(QFileInfo(path).fileName(), extras.failure().text));
    result->extras = std::move(extras).value();
    return result;
}

Result<QByteArray> readSwissFile(const QString& path) {
    QString reason;
    std::optional<QByteArray> bytes = readFileBytes(path, &reason);
    if (!bytes)
        return loadFailed(QStringLiteral("Не удалось открыть файл турнира %1\n%2")
                              .arg(QFileInfo(path).fileName(), reason));
    return std::move(*bytes);
}

} // namespace

Result<SwissTournament> loadSwiss(const QString& path) {
    const Result<QByteArray> bytes = readSwissFile(path);
    if (!bytes)
        return bytes.failure();
    return parseSwissFile(path, *bytes);
}

Result<SwissTournament> reloadSwiss(const QString& path, const SwissTournament& written,
                                    const SwissFileText& text) {
    const Result<QByteArray> bytes = readSwissFile(path);
    if (!bytes)
        return bytes.failure();
    if (!text.readsBack || *bytes != text.bytes)
        return parseSwissFile(path, *bytes);
    // What parsing would make of the text: the values written, with a state that holds
    // only what the file holds.
    SwissTournament t;
    t.state.path = path;
    t.state.startDate = written.state.startDate;
    t.state.endDate = written.state.endDate;
    t.participants = written.participants;
    t.rounds = written.rounds;
    t.extras = written.extras;
    t.deriveCounts();
    return t;
}

Message swissSaveFailedMessage(const QString& path, const QString& reason) {
    Message message{QStringLiteral("Ошибка создания файла"),
                    QStringLiteral("Не удалось сохранить данные турнира в файл\n"
                                   "1. Возможно у вас нет прав на создание файлов.\n"
                                   "2. В названии турнира используются недопустимые символы.")};
    if (!path.isEmpty() || !reason.isEmpty())
        message.text += u'\n' + fileFailureDetail(path, reason);
    return message;
}

Result<> saveSwiss(const SwissTournament& tournament, const QString& path) {
    return writeSwissFile(path.isEmpty() ? tournament.state.path : path, swissFileText(tournament));
}

Result<> writeSwissFile(const QString& path, const SwissFileText& text) {
    if (path.isEmpty())
        return swissSaveFailedMessage(path, QStringLiteral("у турнира нет имени файла"));
    if (!text.extrasFault.isEmpty())
        return swissSaveFailedMessage(companionPath(path), text.extrasFault);
    if (const std::optional<PairWriteFault> fault = writeSwissPair(path, text.bytes, text.extras))
        return swissSaveFailedMessage(fault->path, fault->reason);
    return {};
}

} // namespace ladya
