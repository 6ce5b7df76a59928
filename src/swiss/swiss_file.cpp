#include "swiss/swiss_file.h"

#include "app/text_file.h"

#include <QFileInfo>
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
QString internCode(QStringView code) {
    static const QString codes[] = {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("%"),
                                    QStringLiteral("+"), QStringLiteral("-")};
    if (code.isEmpty())
        return QString();
    for (const QString& c : codes) {
        if (code == c)
            return c;
    }
    return code.toString();
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

QStringList swissFileLines(const SwissTournament& t) {
    QStringList lines;
    lines.reserve(4 + t.participantCount() + t.roundCount() * (1 + t.boardCount()));
    lines << t.state.startDate << t.state.endDate << QString::number(t.roundCount())
          << QString::number(t.participantCount());
    for (const Participant& p : t.participants)
        lines << p.number + u'|' + p.name + u'|' + p.category + u'|' + p.rating + u'|' + p.city;
    for (int r = 1; r <= t.roundCount(); ++r) {
        lines << QString::number(r) + RoundHeaderSuffix;
        const QVector<SwissGame>& round = t.rounds[r - 1];
        for (int b = 1; b <= t.boardCount(); ++b) {
            // A round always has its N / 2 boards; one that somehow lacks some is
            // written with empty boards rather than short.
            const SwissGame g = b <= round.size() ? round[b - 1] : SwissGame{};
            QString line;
            line.reserve(16 + g.whiteResult.size() + g.blackResult.size());
            line.append(QString::number(g.white))
                .append(u'|')
                .append(QString::number(g.black))
                .append(u'|')
                .append(g.whiteResult)
                .append(u'|')
                .append(g.blackResult);
            lines << line;
        }
    }
    return lines;
}

SwissLoadResult parseSwissLines(const QStringList& lines) {
    int next = 0;
    auto readLine = [&]() -> QString { return next < lines.size() ? lines.at(next++) : QString(); };

    SwissTournament t;
    t.state.startDate = readLine();
    t.state.endDate = readLine();
    const int roundCount = parseLenientInt(readLine());
    const int participantCount = parseLenientInt(readLine());
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
        readLine(); // the round header; its text is not relied on
        QVector<SwissGame> round;
        round.reserve(boards);
        for (int b = 1; b <= boards; ++b) {
            // Views, not copies: a full tournament has three thousand game lines.
            const QString line = readLine();
            const QList<QStringView> f = QStringView(line).split(u'|');
            auto view = [&](int k) { return k < f.size() ? f.at(k) : QStringView(); };
            round.append({parseLenientInt(view(0)), parseLenientInt(view(1)), internCode(view(2)),
                          internCode(view(3))});
        }
        t.rounds.append(std::move(round));
    }
    t.deriveCounts();
    return {std::move(t), {}};
}

SwissLoadResult loadSwiss(const QString& path) {
    QString reason;
    const std::optional<QStringList> lines = readTextLines(path, &reason);
    if (!lines)
        return {std::nullopt, loadFailed(QStringLiteral("Не удалось открыть файл турнира ") +
                                         QFileInfo(path).fileName() + u'\n' + reason)};
    SwissLoadResult result = parseSwissLines(*lines);
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
    if (target.isEmpty() || !writeTextLinesAtomic(target, swissFileLines(tournament)))
        return swissSaveFailedMessage();
    return std::nullopt;
}

} // namespace ladya
