// Rules every window keeps, checked over all of them: it fits the smallest supported
// screen, and names holding markup show as typed wherever they appear.
#include "app/main_menu_window.h"
#include "club/club_list_window.h"
#include "club/rating_change_window.h"
#include "players/completion_dialog.h"
#include "players/edit_player_dialog.h"
#include "support/window_test_util.h"
#include "swiss/swiss_creation.h"
#include "swiss/swiss_standings.h"
#include "views/pair_dialog.h"
#include "views/pairing_dialog.h"
#include "views/participant_statistics_window.h"
#include "views/results_table_window.h"
#include "views/round_robin_creation_window.h"
#include "views/round_robin_window.h"
#include "views/swiss_creation_window.h"
#include "views/swiss_window.h"
#include "views/tiebreak_list_dialog.h"

#include <QTextDocument>
#include <map>

using namespace ladya;
using namespace ladya::test;

namespace {

// Markup, an entity and a placeholder of QString::arg: all shown as typed.
const QString Name = QStringLiteral("X <b>Y</b> &amp; %1");
const QString City = QStringLiteral("<i>Г</i>");

// What Qt shows for a tooltip: it guesses markup the way labels once did.
QString shownToolTip(const QString& tip) {
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

// What a button shows: "&&" is one "&", a lone "&" marks a mnemonic and is not shown.
QString shownButtonText(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

class EveryWindowTest : public AppTest {
protected:
    void SetUp() override {
        QByteArray players;
        for (int i = 1; i <= 4; ++i) {
            players += (Name + QString::number(i) + u'|' + City +
                        QStringLiteral("|1|%1|Новый участник|28.11.2026\r\n").arg(2000 + i))
                           .toUtf8();
        }
        QDir(start.path()).mkdir("TOURNAMENT");
        writeBytes(app.filePath(FileNames::Club),
                   (Name + QStringLiteral("1|") + City + QStringLiteral("\r\n")).toUtf8());
        startWith(players);
    }

    // The participants as the creation windows list them.
    QVector<QStringList> creationRows() const {
        QVector<QStringList> rows;
        for (int i = 1; i <= 3; ++i) {
            const QStringList f = app.players().record(i).split(u'|');
            rows.append({QString::number(i), f[0], f[1], f[2], f[3]});
        }
        return rows;
    }
    RoundRobinTournament roundRobin() const {
        RoundRobinCreation creation(TournamentKind::OneCycle, app.workingDir());
        for (const QStringList& r : creationRows())
            EXPECT_TRUE(creation.addParticipant(Participant{{}, r[1], r[3], r[4], r[2]}));
        creation.setName(QStringLiteral("Кубок"));
        return creation.buildTournament(platform.date);
    }
    SwissTournament swiss() const {
        return makeSwissTournament(creationRows(), QStringLiteral("01.12.2026"),
                                   app.workingDir() + QStringLiteral("/Кубок.swz"));
    }
    template <typename W> static std::unique_ptr<ui::Window> withTwoAdded(std::unique_ptr<W> w) {
        w->show();
        for (const int row : {0, 1}) {
            chooseInSelectionDialog(row);
            button(w.get(), "addButton")->click();
        }
        return w;
    }

    // Every window of the program, opened on the players above with a row chosen
    // where choosing shows a name elsewhere.
    struct Case {
        const char* name;
        std::function<std::unique_ptr<ui::Window>()> open;
    };
    std::vector<Case> cases() {
        return {
            {"main menu",
             [this] { return shown(std::make_unique<MainMenuWindow>(app, platform)); }},
            {"round-robin creation",
             [this] {
                 app.state().kind = TournamentKind::OneCycle;
                 return withTwoAdded(std::make_unique<RoundRobinCreationWindow>(app, platform));
             }},
            {"swiss creation",
             [this] {
                 app.state().kind = TournamentKind::Swiss;
                 return withTwoAdded(std::make_unique<SwissCreationWindow>(app, platform));
             }},
            {"round-robin window",
             [this] {
                 auto w = shown(std::make_unique<RoundRobinWindow>(app, platform, roundRobin()));
                 clickRow(list(w.get(), "gameList"), 0);
                 return w;
             }},
            {"results table",
             [this] {
                 return shown(std::make_unique<ResultsTableWindow>(platform, app.workingDir(),
                                                                   roundRobin()));
             }},
            {"participant statistics",
             [this] {
                 const RoundRobinTournament t = roundRobin();
                 auto w = shown(std::make_unique<ParticipantStatisticsWindow>(
                     platform, app.workingDir(), t, computeRoundRobin(t)));
                 clickRow(list(w.get(), "participantList"), 0);
                 return w;
             }},
            {"swiss window",
             [this] {
                 auto w = shown(
                     std::make_unique<SwissWindow>(app, platform, SwissWindowController(swiss())));
                 clickRow(list(w.get(), "standingsList"), 0);
                 return w;
             }},
            {"pairing dialog",
             [this] {
                 const SwissTournament t = swiss();
                 auto w =
                     shown(std::make_unique<PairingWindow>(platform, t, computeSwissStandings(t)));
                 clickRow(list(w.get(), "playerList"), 0);
                 return w;
             }},
            {"pair dialog",
             [this] {
                 const SwissTournament t = swiss();
                 workbench.emplace(t, computeSwissStandings(t));
                 return shown(std::make_unique<PairDialog>(
                     *workbench,
                     PairDialogController::forCreation(*workbench, 1, 2, InitialColour::White)));
             }},
            {"club list",
             [this] {
                 auto w = std::make_unique<ClubListWindow>(app, platform);
                 w->loadList();
                 return shown(std::move(w));
             }},
            {"rating change",
             [this] {
                 return shown(std::make_unique<RatingChangeWindow>(
                     platform, app.workingDir(), app.players().record(1).section(u'|', 0, 0),
                     City));
             }},
            {"player selection",
             [this] {
                 auto w = shown(std::make_unique<SelectPlayerDialog>(app, platform));
                 clickRow(list(w.get(), "playerList"), 0);
                 return w;
             }},
            {"player editing",
             [this] { return shown(std::make_unique<EditPlayerDialog>(app, platform, 1)); }},
            {"completion",
             [this] {
                 return shown(std::make_unique<CompletionDialog>(
                     CompletionDialog::Kind::RoundRobin, platform, false,
                     [](const QString&) { return std::optional<Result<>>(); }));
             }},
            {"tie-break list",
             [] {
                 auto w = shown(std::make_unique<TieBreakListDialog>(
                     TieBreakListController(QStringLiteral("BH/C1,SB"), false)));
                 ui::MultiColumnList* entries = list(w.get(), "entryList");
                 QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                                   entries->visualRect(entries->model()->index(0, 0)).center());
                 return w;
             }},
        };
    }

    std::optional<PairingWorkbench> workbench;
};

} // namespace

// At 1366 × 768 a taskbar and a title bar leave about 740 pixels: every window shrinks
// that far with all its controls, and opens no larger than the screen.
TEST_F(EveryWindowTest, FitsTheSmallestScreen) {
    const QSize room(1366, 740);
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ui::Window> w = c.open();
        const QSize minimum = w->minimumSizeHint().expandedTo(w->minimumSize());
        EXPECT_LE(minimum.width(), room.width()) << minimum.width();
        EXPECT_LE(minimum.height(), room.height()) << minimum.height();
        EXPECT_LE(w->width(), 1366);
        EXPECT_LE(w->height(), 768);
        EXPECT_LT(w->minimumSize().width(), w->maximumSize().width()) << "resizable";
    }
}

// Names, cities and tournament names are data: wherever a window shows one (a label,
// a button, a tooltip, a list cell's tooltip), it shows as typed.
TEST_F(EveryWindowTest, ShowsNamesWithMarkupAsTyped) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ui::Window> w = c.open();
        QStringList shownTexts;
        for (QLabel* label : w->findChildren<QLabel*>()) {
            if (Qt::mightBeRichText(label->text())) {
                EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
            }
            shownTexts << label->text() << shownToolTip(label->toolTip());
        }
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            shownTexts << shownButtonText(b->text()) << shownToolTip(b->toolTip());
            EXPECT_EQ(b->text().count(u'&'), 2 * b->text().count(QStringLiteral("&&")))
                << b->objectName().toStdString();
        }
        for (ui::MultiColumnList* l : w->findChildren<ui::MultiColumnList*>()) {
            const QAbstractItemModel* model = l->model();
            for (int r = 0; r < model->rowCount(); ++r) {
                for (int col = 0; col < model->columnCount(); ++col) {
                    const QModelIndex cell = model->index(r, col);
                    EXPECT_EQ(shownToolTip(cell.data(Qt::ToolTipRole).toString()),
                              cell.data(Qt::DisplayRole).toString());
                }
            }
        }
        const bool showsName = std::any_of(shownTexts.cbegin(), shownTexts.cend(),
                                           [](const QString& t) { return t.contains(Name); });
        if (std::string_view(c.name) == "round-robin window" ||
            std::string_view(c.name) == "swiss window") {
            EXPECT_TRUE(showsName) << shownTexts.join(u'|').toStdString();
        }
    }
}

// Tab goes the way the work goes: in the tournament windows from the round to the
// result and "Записать" before the standings, in the creation windows from the name to
// the participants.
TEST_F(EveryWindowTest, TabGoesTheWayTheWorkGoes) {
    const std::map<std::string, QStringList> expected = {
        {"round-robin creation",
         {"nameEdit", "startDatePicker", "addButton", "tieBreaksButton", "participantList"}},
        {"swiss creation",
         {"nameEdit", "startDatePicker", "addButton", "tieBreaksButton", "participantList"}},
        {"round-robin window",
         {"roundSelector", "gameList", "resultSelector", "writeButton", "standingsList",
          "scheduleReportButton", "pairingSheetButton", "tableButton", "statisticsButton",
          "mainMenuButton", "tieBreaksButton", "trfExportButton"}},
        {"swiss window",
         {"roundSelector", "gameList", "resultSelector", "standingsList", "participantButton",
          "lateEntryButton", "accelerationButton", "pairingButton", "statisticsButton",
          "reportButton", "trfExportButton", "mainMenuButton", "tieBreaksButton",
          "plannedRoundsButton"}},
        {"club list", {"clubList", "addMemberButton", "clubReportButton"}},
        {"tie-break list",
         {"entryList", "downButton", "removeButton", "clearButton", "knownSelector",
          "modifierSelector", "addButton", "recommendedSelector", "takeButton", "listEdit",
          "applyButton", "cancelButton"}},
    };
    for (const Case& c : cases()) {
        const auto found = expected.find(c.name);
        if (found == expected.end())
            continue;
        SCOPED_TRACE(c.name);
        std::unique_ptr<ui::Window> w = c.open();
        QStringList chain;
        for (QWidget* x = w->nextInFocusChain(); x != w.get(); x = x->nextInFocusChain()) {
            if ((x->focusPolicy() & Qt::TabFocus) && x->isVisibleTo(w.get()) && x->isEnabled() &&
                !x->objectName().startsWith(QStringLiteral("qt_")))
                chain << x->objectName();
        }
        EXPECT_EQ(chain, found->second);
    }
}

// Escape leaves every dialog-like window as its close box does (asking first where the
// close box asks); the main menu and the tournament windows are no dialogs to leave by
// a key.
TEST_F(EveryWindowTest, EscapeLeavesEveryChildWindow) {
    const QStringList staying = {"main menu", "round-robin window", "swiss window"};
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ui::Window> w = c.open();
        QWidget* focus = w->focusWidget() ? w->focusWidget() : w.get();
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_EQ(w->isVisible(), staying.contains(QString::fromLatin1(c.name)));
    }
}
