#include "common/text_file.h"
#include "support/test_support.h"
#include "swiss/swiss_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace ladya;

namespace {

// The example file: 15 players and the bye participant 16, two rounds, round 2 partly played.
QStringList exampleLines() {
    QStringList lines{"05.12.2026", "", "2", "16"};
    for (int i = 1; i <= 14; ++i)
        lines << QStringLiteral("%1|ИГРОК %1|1|%2|МОСКВА").arg(i).arg(2300 - i * 20);
    lines << "15|ИГРОК Б.Б.|3|1350|ТВЕРЬ"
          << "16|**|**|**|**";
    lines << "1 ТУР"
          << "1|9|1|0"
          << "10|2|%|%"
          << "3|11|0|1"
          << "12|4|1|0"
          << "5|13|%|%"
          << "14|6|0|1"
          << "7|15|1|0"
          << "16|8|-|+";
    lines << "2 ТУР"
          << "5|1|0|1"
          << "16|8|-|+"
          << "3|12||"
          << "2|11||"
          << "4|10||"
          << "6|9||"
          << "7|13||"
          << "14|15||";
    return lines;
}

} // namespace

TEST(SwissFile, ExampleLoadsWithDerivedFigures) {
    const Result<SwissTournament> loaded = parseSwissLines(exampleLines());
    ASSERT_TRUE(loaded);
    const SwissTournament& t = *loaded;
    EXPECT_EQ(t.participantCount(), 16);
    EXPECT_EQ(t.roundCount(), 2);
    EXPECT_EQ(t.boardCount(), 8);
    EXPECT_EQ(t.state.boardCount, 8);
    EXPECT_EQ(t.byeNumber, 16);
    EXPECT_EQ(t.state.endDate, "");
    EXPECT_EQ(t.participant(15).city, "ТВЕРЬ");
    EXPECT_EQ(t.game(2, 2), (SwissGame{16, 8, "-", "+"}));
    EXPECT_EQ(t.game(2, 3), (SwissGame{3, 12, "", ""}));
    // Participant 8 took the bye as a forfeit win in both rounds.
    for (int p = 1; p <= 16; ++p)
        EXPECT_EQ(t.forfeitCount(p), p == 8 || p == 16 ? 2 : 0) << p;
}

TEST(SwissFile, ForfeitCountsCountEachForfeitOnceForBothPlayers) {
    const QStringList lines{"d",   "",    "1",   "6",     "1|A",     "2|B",     "3|C",
                            "4|D", "5|E", "6|F", "1 ТУР", "1|2|-|-", "3|4|+|-", "5|6|1|0"};
    const SwissTournament t = *parseSwissLines(lines);
    EXPECT_EQ(t.forfeitCounts, (QVector<int>{1, 1, 1, 1, 0, 0}));
}

TEST(SwissFile, LastByeLineWins) {
    const QStringList lines{"d", "", "0", "4", "1|**", "2|B", "3|**", "4|D"};
    EXPECT_EQ(parseSwissLines(lines)->byeNumber, 3);
}

TEST(SwissFile, RefusesFilesBeyondTheTables) {
    struct Case {
        QString rounds;
        QString participants;
    };
    for (const Case& c : {Case{"0", "301"}, Case{"21", "16"}, Case{"-1", "16"}, Case{"0", "-2"}}) {
        const Result<SwissTournament> r = parseSwissLines({"d", "", c.rounds, c.participants});
        EXPECT_FALSE(r) << c.rounds.toStdString() << " " << c.participants.toStdString();
        EXPECT_EQ(r.failure().title, "Ошибка");
        EXPECT_FALSE(r.failure().text.isEmpty());
    }
    QStringList largest{"d", "", "20", "300"};
    for (int i = 1; i <= 300; ++i)
        largest << QStringLiteral("%1|N").arg(i);
    for (int r = 1; r <= 20; ++r) {
        largest << QStringLiteral("%1 ТУР").arg(r);
        for (int b = 1; b <= 150; ++b)
            largest << QStringLiteral("%1|%2||").arg(QString::number(b), QString::number(b + 150));
    }
    EXPECT_TRUE(parseSwissLines(largest));
}

// A file cut off anywhere loads nothing it does not hold: every prefix of a real file
// with rounds is refused, except the whole file with or without its last line end.
TEST(SwissFile, CutOffFileIsRefusedAtEveryCutPoint) {
    for (const char* name : {"big.swz", "example16.swz", "worked.swz"}) {
        const QByteArray whole = test::readBytes(test::dataPath(QStringLiteral("swiss/") + name));
        const Result<SwissTournament> full = parseSwissBytes(whole);
        ASSERT_TRUE(full) << name;
        ASSERT_TRUE(whole.endsWith("\r\n") && full->roundCount() > 0) << name;
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            const Result<SwissTournament> loaded = parseSwissBytes(whole.first(cut));
            const bool lastLineWhole = cut >= whole.size() - 2;
            EXPECT_EQ(bool(loaded), lastLineWhole) << name << " cut at " << cut;
            if (loaded)
                EXPECT_EQ(swissFileBytes(*loaded), whole) << name << " cut at " << cut;
            else
                EXPECT_FALSE(loaded.failure().text.isEmpty());
        }
    }
    // A new tournament ends with its last participant line, which a cut leaves shorter
    // but still a line: what loads is exactly what the shorter file says.
    const QByteArray fresh = test::readBytes(test::dataPath("swiss/new14.swz"));
    for (qsizetype cut = 0; cut < fresh.size(); ++cut) {
        const Result<SwissTournament> loaded = parseSwissBytes(fresh.first(cut));
        if (loaded) {
            EXPECT_TRUE(swissFileBytes(*loaded).startsWith(fresh.first(cut))) << cut;
        }
    }
}

TEST(SwissFile, RefusesWhatIsNoSwissFile) {
    QStringList roundRobin{"01.12.2026", "", "4", "3", "2", "1_krug"};
    for (const char* p : {"1", "ИВАНОВ И.И.", "КМС", "2150", "МОСКВА"})
        roundRobin << p;
    const struct {
        const char* what;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"empty file", "", "нет заголовка"},
        {"header only", "05.12.2026\r\n\r\n", "нет заголовка"},
        {"300 promised, none there", "05.12.2026\r\n\r\n0\r\n300\r\n", "Файл оборван"},
        {"round missing", "d\r\n\r\n1\r\n2\r\n1|A\r\n2|B\r\n", "Файл оборван"},
        {"game line short", "d\r\n\r\n1\r\n2\r\n1|A\r\n2|B\r\n1 ТУР\r\n1|2|1", "Строка 8"},
        {"one side's result", "d\r\n\r\n1\r\n2\r\n1|A\r\n2|B\r\n1 ТУР\r\n1|2||0\r\n", "Строка 8"},
        {"participant 3 of 2", "d\r\n\r\n1\r\n2\r\n1|A\r\n2|B\r\n1 ТУР\r\n1|3||\r\n",
         "Строка 8: в партии назван участник 3, которого нет в турнире (тур 1, доска 1)"},
        {"participant 0", "d\r\n\r\n1\r\n2\r\n1|A\r\n2|B\r\n1 ТУР\r\n0|2|1|0\r\n",
         "Строка 8: в партии назван участник 0"},
        {"empty board with a result", "d\r\n\r\n1\r\n2\r\n1|A\r\n2|B\r\n1 ТУР\r\n0|0|+|-\r\n",
         "Строка 8: на пустой доске записан результат"},
        {"round-robin content", joinLinesCrLf(roundRobin), "кругового турнира"},
        {"not UTF-8", "d\r\n\r\n0\r\n1\r\n1|\xc8\xc2\xc0\xcd\xce\xc2\r\n", "строка 5"},
    };
    for (const auto& c : cases) {
        const Result<SwissTournament> loaded = parseSwissBytes(c.bytes);
        EXPECT_FALSE(loaded) << c.what;
        EXPECT_TRUE(loaded.failure().text.contains(QString::fromUtf8(c.says)))
            << c.what << ": " << loaded.failure().text.toStdString();
    }
}

TEST(SwissFile, EmptyBoardsAreReadAndWrittenAsTheyStand) {
    // Participant 3 sits round 1 out: the round's spare board is empty.
    const QByteArray bytes = "d\r\n\r\n1\r\n4\r\n1|A|||\r\n2|B|||\r\n3|C|||\r\n4|D|||\r\n"
                             "1 ТУР\r\n4|1|+|-\r\n0|0||\r\n";
    const Result<SwissTournament> loaded = parseSwissBytes(bytes);
    ASSERT_TRUE(loaded) << loaded.failure().text.toStdString();
    EXPECT_TRUE(loaded->game(1, 2).isEmpty());
    EXPECT_EQ(loaded->forfeitCounts, (QVector<int>{1, 0, 0, 1}));
    const SwissFileText text = swissFileText(*loaded);
    EXPECT_EQ(text.bytes, bytes);
    EXPECT_TRUE(text.readsBack);
}

TEST(SwissFile, UnreadableFileAndFailedSaveAreReported) {
    QTemporaryDir dir;
    const Result<SwissTournament> missing = loadSwiss(dir.filePath("none.swz"));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.failure().text.contains("none.swz"));

    SwissTournament t = *parseSwissLines(exampleLines());
    const Result<> failed = saveSwiss(t, dir.filePath("no/such/dir/t.swz"));
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.failure().title, "Ошибка создания файла");
    EXPECT_EQ(failed.failure().text, "Не удалось сохранить данные турнира в файл\n"
                                     "1. Возможно у вас нет прав на создание файлов.\n"
                                     "2. В названии турнира используются недопустимые символы.\n"
                                     "Файл: " +
                                         dir.filePath("no/such/dir/t.swz") +
                                         "\nПричина: нет такой папки");
}

namespace {

// The file read the plain way: split into lines, every line decoded and split at "|",
// numbers read leniently. The quick reader must agree with it on any bytes.
SwissTournament plainParse(const QByteArray& bytes) {
    const QStringList lines = splitLines(bytes);
    int next = 0;
    const auto line = [&] { return next < lines.size() ? lines[next++] : QString(); };
    SwissTournament t;
    t.state.startDate = line();
    t.state.endDate = line();
    const int rounds = parseLenientInt(line());
    const int n = parseLenientInt(line());
    for (int i = 0; i < n; ++i) {
        const QStringList f = line().split(u'|');
        t.participants.append({f.value(0), f.value(1), f.value(2), f.value(3), f.value(4)});
    }
    for (int r = 0; r < rounds; ++r) {
        line();
        QVector<SwissGame> round;
        for (int b = 0; b < n / 2; ++b) {
            const QStringList f = line().split(u'|');
            round.append(
                {parseLenientInt(f.value(0)), parseLenientInt(f.value(1)), f.value(2), f.value(3)});
        }
        t.rounds.append(round);
    }
    t.deriveCounts();
    return t;
}

void expectSameTournament(const SwissTournament& a, const SwissTournament& b) {
    EXPECT_EQ(a.state.startDate, b.state.startDate);
    EXPECT_EQ(a.state.endDate, b.state.endDate);
    EXPECT_EQ(a.participants, b.participants);
    EXPECT_EQ(a.rounds, b.rounds);
    EXPECT_EQ(a.forfeitCounts, b.forfeitCounts);
    EXPECT_EQ(a.byeNumber, b.byeNumber);
    EXPECT_EQ(a.state.roundCount, b.state.roundCount);
    EXPECT_EQ(a.state.participantCount, b.state.participantCount);
    EXPECT_EQ(a.state.boardCount, b.state.boardCount);
}

QByteArray pick(std::mt19937& rng, const QVector<QByteArray>& choices) {
    return choices[int(rng() % choices.size())];
}

// A file as a program or a careless hand would leave it: mostly well formed, with
// damaged numbers, codes, fields, line ends and UTF-8 mixed in.
QByteArray damagedFile(std::mt19937& rng) {
    const QVector<QByteArray> ends{"\r\n", "\r\n", "\r\n", "\n", "\r"};
    const QVector<QByteArray> numbers{"1",  "7", "12", "300",    "0",     "007",        " 5", "+3",
                                      "-4", "x", "",   "123456", "99999", "2147483648", "9z"};
    // Texts broken within UTF-8 are rare: they make the whole file refused.
    const QVector<QByteArray> codes{"1", "0", "%", "+", "-", "", "", "00", "1 ", "½", "a"};
    const QVector<QByteArray> texts{"ИГРОК", "**", "", "A B", "КМС", "1500", "МОСКВА", "x|y", "½"};
    const QVector<QByteArray> broken{"\xD0\x98\xFF", "\xE2\x82", "\xD0"};
    const auto text = [&] { return rng() % 400 == 0 ? pick(rng, broken) : pick(rng, texts); };
    const int n = int(rng() % 12);
    const int rounds = int(rng() % 4);
    QByteArray out;
    if (rng() % 10 == 0)
        out += "\xEF\xBB\xBF";
    const auto endLine = [&] { out += pick(rng, ends); };
    out += "05.12.2026";
    endLine();
    endLine();
    out += QByteArray::number(rounds);
    endLine();
    out += QByteArray::number(n);
    endLine();
    for (int i = 1; i <= n; ++i) {
        const int fields = rng() % 6 == 0 ? int(rng() % 7) : 5;
        for (int k = 0; k < fields; ++k) {
            if (k > 0)
                out += '|';
            out += k == 0 ? QByteArray::number(i) : text();
        }
        endLine();
    }
    for (int r = 1; r <= rounds; ++r) {
        out += QByteArray::number(r) + " ТУР";
        endLine();
        for (int b = 0; b < n / 2; ++b) {
            // A game line short of fields, or with a result for one side only, is
            // refused: now and then one.
            if (rng() % 40 == 0) {
                const int fields = int(rng() % 6);
                for (int k = 0; k < fields; ++k) {
                    if (k > 0)
                        out += '|';
                    out += k < 2 ? pick(rng, numbers) : pick(rng, codes);
                }
            } else {
                const QByteArray white = pick(rng, codes);
                QByteArray black = pick(rng, codes);
                if (white.isEmpty() != black.isEmpty() && rng() % 20 != 0)
                    black = white.isEmpty() ? QByteArray() : pick(rng, {"1", "0", "½", "a"});
                // A number outside the table refuses the file: now and then one.
                const QByteArray board =
                    (rng() % 40 == 0 ? pick(rng, numbers) : QByteArray::number(1 + rng() % n)) +
                    '|' + QByteArray::number(1 + rng() % n) + '|' + white + '|' + black;
                out += rng() % 10 == 0 ? QByteArray("0|0||") : board;
            }
            endLine();
        }
    }
    // Now and then the file ends early, possibly within a line.
    if (rng() % 8 == 0)
        out.truncate(int(rng() % (out.size() + 1)));
    return out;
}

} // namespace

TEST(SwissFile, QuickReadingAgreesWithThePlainReadingOnDamagedFiles) {
    std::mt19937 rng(41);
    int refused = 0;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray bytes = damagedFile(rng);
        SCOPED_TRACE(bytes.toStdString());
        const Result<SwissTournament> quick = parseSwissBytes(bytes);
        // A file cut short or not UTF-8 is refused; the rest read alike both ways.
        if (!quick) {
            ++refused;
            continue;
        }
        expectSameTournament(*quick, plainParse(bytes));
        if (HasFailure())
            return;
    }
    EXPECT_LT(refused, 1500);
}

namespace {

// A tournament in memory as the windows could hold it, with now and then what the file
// cannot carry: a "|" or a line break in a field, a character beyond the basic plane, a
// broken UTF-16 half, a round short of boards, odd codes and numbers.
SwissTournament awkwardTournament(std::mt19937& rng) {
    const QStringList texts{"ИГРОК",
                            "**",
                            "",
                            "Ёлкин Ё.",
                            "КМС",
                            "1500",
                            "a|b",
                            "line\nfeed",
                            QString::fromUtf16(u"\U0001F600"),
                            QString(QChar(0xD800)),
                            QStringLiteral("€uro")};
    const QStringList codes{"1", "0", "%", "+", "-", "", "1", "0", "%", "½", "|", "ab"};
    const auto text = [&] {
        return rng() % 5 == 0 ? texts[int(rng() % texts.size())] : texts[int(rng() % 6)];
    };
    SwissTournament t;
    t.state.startDate = rng() % 20 == 0 ? QString(QChar(0xFEFF)) + "05.12.2026" : "05.12.2026";
    t.state.endDate = rng() % 3 == 0 ? "06.12.2026" : "";
    const int n = int(rng() % 10);
    for (int i = 1; i <= n; ++i)
        t.participants.append({QString::number(i), text(), text(), text(), text()});
    const int rounds = int(rng() % 4);
    for (int r = 0; r < rounds; ++r) {
        QVector<SwissGame> round;
        int boards = n / 2;
        if (rng() % 10 == 0)
            boards += int(rng() % 3) - 1;
        for (int b = 0; b < boards; ++b) {
            const bool odd = rng() % 8 == 0;
            if (rng() % 10 == 0) {
                round.append({0, 0, odd ? QStringLiteral("1") : QString(), QString()});
                continue;
            }
            const int white = odd ? int(rng() % 200000) - 1000 : 1 + int(rng() % qMax(n, 1));
            const int black = 1 + int(rng() % qMax(n, 1));
            round.append({white, black, codes[int(rng() % (odd ? codes.size() : 6))],
                          codes[int(rng() % 6)]});
        }
        t.rounds.append(round);
    }
    t.deriveCounts();
    return t;
}

} // namespace

TEST(SwissFile, TextWritesEveryFieldAsItsLineAndKnowsWhetherItReadsBack) {
    std::mt19937 rng(43);
    int readingBack = 0;
    for (int i = 0; i < 2000; ++i) {
        const SwissTournament t = awkwardTournament(rng);
        // The text is what the lines say, each encoded by toUtf8 and ended by CR LF.
        QStringList lines{t.state.startDate, t.state.endDate, QString::number(t.roundCount()),
                          QString::number(t.participantCount())};
        for (const Participant& p : t.participants)
            lines << QStringList{p.number, p.name, p.category, p.rating, p.city}.join(u'|');
        for (int r = 1; r <= t.roundCount(); ++r) {
            lines << QString::number(r) + " ТУР";
            for (int b = 0; b < t.boardCount(); ++b) {
                const SwissGame g = b < t.rounds[r - 1].size() ? t.rounds[r - 1][b] : SwissGame{};
                lines << QStringLiteral("%1|%2|%3|%4")
                             .arg(g.white)
                             .arg(g.black)
                             .arg(g.whiteResult, g.blackResult);
            }
        }
        const SwissFileText text = swissFileText(t);
        ASSERT_EQ(text.bytes, joinLinesCrLf(lines)) << i;
        // Whenever it claims to, the text reads back to the very tournament.
        if (text.readsBack) {
            ++readingBack;
            const Result<SwissTournament> back = parseSwissBytes(text.bytes);
            ASSERT_TRUE(back);
            expectSameTournament(*back, t);
            if (HasFailure())
                return;
        }
    }
    EXPECT_GT(readingBack, 300);
}

TEST(SwissFile, ReloadGivesWhatLoadingTheFileGives) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.swz");
    std::mt19937 rng(47);
    for (int i = 0; i < 300; ++i) {
        SwissTournament t = awkwardTournament(rng);
        const SwissFileText text = swissFileText(t);
        ASSERT_TRUE(writeSwissFile(path, text));
        // Now and then the file changes between the save and the reading back.
        if (i % 7 == 0)
            test::writeBytes(path, swissFileBytes(awkwardTournament(rng)));
        const Result<SwissTournament> reloaded = reloadSwiss(path, t, text);
        const Result<SwissTournament> loaded = loadSwiss(path);
        ASSERT_EQ(bool(reloaded), bool(loaded));
        if (loaded) {
            expectSameTournament(*reloaded, *loaded);
            EXPECT_EQ(reloaded->state.path, path);
        }
        if (HasFailure())
            return;
    }
    // A save that failed leaves the earlier file, which is what comes back.
    const SwissTournament earlier = *parseSwissLines(exampleLines());
    ASSERT_TRUE(saveSwiss(earlier, path));
    SwissTournament changed = earlier;
    changed.game(2, 3).whiteResult = "1";
    changed.game(2, 3).blackResult = "0";
    const Result<SwissTournament> back = reloadSwiss(path, changed, swissFileText(changed));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->game(2, 3), earlier.game(2, 3));
    EXPECT_FALSE(reloadSwiss(dir.filePath("gone.swz"), changed, swissFileText(changed)));
}
