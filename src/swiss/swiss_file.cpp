#include "swiss/swiss_file.h"

#include "app/text_file.h"

#include <QFileInfo>
#include <charconv>
#include <utility>

namespace ladya {

namespace {

const QString RoundHeaderSuffix = QStringLiteral(" ТУР");

// Field k (0-based) of a "|"-separated line, "" when the line has fewer fields.
QString fieldAt(const QStringList& fields, int k) {
    return k < fields.size() ? fields.at(k) : QString();
}

bool isCode(const QString& code, char16_t c) {
    return code.size() == 1 && code.front() == c;
}

// Result codes share one copy each instead of a small allocation per game.
const QString CodeWin = QStringLiteral("1");
const QString CodeLoss = QStringLiteral("0");
const QString CodeDraw = QStringLiteral("%");
const QString CodeForfeitWin = QStringLiteral("+");
const QString CodeForfeitLoss = QStringLiteral("-");
const QString NoCode;

const QString& sharedCode(char c) {
    switch (c) {
    case '1':
        return CodeWin;
    case '0':
        return CodeLoss;
    case '%':
        return CodeDraw;
    case '+':
        return CodeForfeitWin;
    case '-':
        return CodeForfeitLoss;
    default:
        return NoCode;
    }
}

QString internCode(QByteArrayView code) {
    if (code.size() == 1 && !sharedCode(code.front()).isNull())
        return sharedCode(code.front());
    return code.isEmpty() ? QString() : QString::fromUtf8(code);
}

void appendCode(QByteArray& out, const QString& code) {
    if (code.size() == 1 && code.front().unicode() < 0x80)
        out += static_cast<char>(code.front().unicode());
    else
        out += code.toUtf8();
}

void appendNumber(QByteArray& out, int value) {
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end - buffer);
}

Message loadFailed(const QString& text) {
    return {QStringLiteral("Ошибка"), text};
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
    auto bump = [&](int number) {
        if (hasParticipant(number))
            ++forfeitCounts[number - 1];
    };
    for (const QVector<SwissGame>& round : std::as_const(rounds)) {
        for (const SwissGame& g : round) {
            if (isCode(g.blackResult, u'+'))
                bump(g.white);
            if (isCode(g.whiteResult, u'+'))
                bump(g.black);
            if (isCode(g.blackResult, u'-'))
                bump(g.white);
            if (isCode(g.whiteResult, u'-'))
                bump(g.black);
        }
    }
    state.kind = TournamentKind::Swiss;
    state.participantCount = n;
    state.roundCount = roundCount();
    state.boardCount = boardCount();
}

QByteArray swissFileBytes(const SwissTournament& t) {
    QByteArray out;
    out.reserve(64 * t.participantCount() + 24 * t.roundCount() * (1 + t.boardCount()) + 64);
    const auto line = [&out](const QString& text) {
        out += text.toUtf8();
        out += "\r\n";
    };
    line(t.state.startDate);
    line(t.state.endDate);
    line(QString::number(t.roundCount()));
    line(QString::number(t.participantCount()));
    for (const Participant& p : t.participants)
        line(p.number + u'|' + p.name + u'|' + p.category + u'|' + p.rating + u'|' + p.city);
    // Game lines are numbers and one-character codes: written as bytes directly, since a
    // full tournament has three thousand of them and is rewritten after every result.
    for (int r = 1; r <= t.roundCount(); ++r) {
        line(QString::number(r) + RoundHeaderSuffix);
        const QVector<SwissGame>& round = t.rounds[r - 1];
        for (int b = 1; b <= t.boardCount(); ++b) {
            // A round always has its N / 2 boards; one that somehow lacks some is
            // written with empty boards rather than short.
            const SwissGame g = b <= round.size() ? round[b - 1] : SwissGame{};
            appendNumber(out, g.white);
            out += '|';
            appendNumber(out, g.black);
            out += '|';
            appendCode(out, g.whiteResult);
            out += '|';
            appendCode(out, g.blackResult);
            out += "\r\n";
        }
    }
    return out;
}

QStringList swissFileLines(const SwissTournament& t) {
    return splitLines(swissFileBytes(t));
}

SwissLoadResult parseSwissBytes(QByteArrayView bytes) {
    LineReader in(bytes);
    const auto readLine = [&in] { return QString::fromUtf8(in.next()); };

    SwissTournament t;
    t.state.startDate = readLine();
    t.state.endDate = readLine();
    const int roundCount = parseLenientInt(in.next());
    const int participantCount = parseLenientInt(in.next());
    if (participantCount < 0 || participantCount > Limits::SwissParticipants)
        return {std::nullopt,
                loadFailed(QStringLiteral("Файл турнира повреждён или слишком велик: в нём %1 "
                                          "участников, а допускается от 0 до %2.")
                               .arg(participantCount)
                               .arg(Limits::SwissParticipants))};
    if (roundCount < 0 || roundCount > Limits::SwissRounds)
        return {std::nullopt,
                loadFailed(QStringLiteral("Файл турнира повреждён или слишком велик: в нём %1 "
                                          "туров, а допускается от 0 до %2.")
                               .arg(roundCount)
                               .arg(Limits::SwissRounds))};

    t.participants.reserve(participantCount);
    for (int i = 1; i <= participantCount; ++i) {
        const QStringList f = readLine().split(u'|');
        t.participants.append(
            {fieldAt(f, 0), fieldAt(f, 1), fieldAt(f, 2), fieldAt(f, 3), fieldAt(f, 4)});
    }
    const int boards = participantCount / 2;
    t.rounds.reserve(roundCount);
    for (int r = 1; r <= roundCount; ++r) {
        in.next(); // the round header; its text is not relied on
        QVector<SwissGame> round;
        round.reserve(boards);
        for (int b = 1; b <= boards; ++b) {
            // Fields are read straight from the bytes: "|" never occurs inside a
            // UTF-8 sequence, so splitting before decoding is safe.
            QByteArrayView rest = in.next();
            QByteArrayView f[4];
            for (int k = 0; k < 4 && !rest.isNull(); ++k) {
                const qsizetype bar = rest.indexOf('|');
                f[k] = bar < 0 ? rest : rest.first(bar);
                rest = bar < 0 ? QByteArrayView() : rest.sliced(bar + 1);
            }
            round.append(
                {parseLenientInt(f[0]), parseLenientInt(f[1]), internCode(f[2]), internCode(f[3])});
        }
        t.rounds.append(std::move(round));
    }
    t.deriveCounts();
    return {std::move(t), {}};
}

SwissLoadResult parseSwissLines(const QStringList& lines) {
    return parseSwissBytes(joinLinesCrLf(lines));
}

SwissLoadResult loadSwiss(const QString& path) {
    QString reason;
    const std::optional<QByteArray> bytes = readFileBytes(path, &reason);
    if (!bytes)
        return {std::nullopt, loadFailed(QStringLiteral("Не удалось открыть файл турнира ") +
                                         QFileInfo(path).fileName() + u'\n' + reason)};
    SwissLoadResult result = parseSwissBytes(*bytes);
    if (result.tournament)
        result.tournament->state.path = path;
    else
        result.error.text = QFileInfo(path).fileName() + u'\n' + result.error.text;
    return result;
}

Message swissSaveFailedMessage() {
    return {QStringLiteral("Ошибка создания файла"),
            QStringLiteral("Не удалось сохранить данные турнира в файл\n"
                           "1. Возможно у вас нет прав на создание файлов.\n"
                           "2. В названии турнира используются недопустимые символы.")};
}

std::optional<Message> saveSwiss(const SwissTournament& tournament, const QString& path) {
    const QString target = path.isEmpty() ? tournament.state.path : path;
    if (target.isEmpty() || !writeFileAtomic(target, swissFileBytes(tournament)))
        return swissSaveFailedMessage();
    return std::nullopt;
}

} // namespace ladya
