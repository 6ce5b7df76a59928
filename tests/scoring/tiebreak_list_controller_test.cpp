#include "scoring/tiebreak_list_controller.h"

#include <gtest/gtest.h>

using namespace ladya;

namespace {

QString canonical(const QString& text) {
    return tieBreakListText(*parseTieBreakList(text));
}

// Chooses an entry to add by its text ("BH/C1"), as the user picks its two legends.
void chooseEntry(TieBreakListController& c, const QString& entry) {
    const QString acronym = entry.section(u'/', 0, 0);
    const int known =
        int(c.knownLabels().indexOf(tieBreakLegend(parseTieBreakList(acronym)->front())));
    ASSERT_GE(known, 0) << entry.toStdString();
    c.chooseKnown(known);
    const int modifier =
        entry.contains(u'/')
            ? int(c.modifierLabels().indexOf(tieBreakLegend(parseTieBreakList(entry)->front())))
            : 0;
    ASSERT_GE(modifier, 0) << entry.toStdString();
    c.chooseModifier(modifier);
}

// One edit written as the test tables spell it: "add BH/C1", "select 2", "up", "down",
// "remove", "clear", "recommended 0", "type <text>".
void apply(TieBreakListController& c, const QString& step) {
    const QString verb = step.section(u' ', 0, 0);
    const QString argument = step.section(u' ', 1);
    if (verb == "add") {
        chooseEntry(c, argument);
        (void)c.add();
    } else if (verb == "select") {
        c.selectRow(argument.toInt());
    } else if (verb == "up") {
        c.moveUp();
    } else if (verb == "down") {
        c.moveDown();
    } else if (verb == "remove") {
        c.remove();
    } else if (verb == "clear") {
        c.clear();
    } else if (verb == "recommended") {
        c.chooseRecommended(argument.toInt());
    } else if (verb == "type") {
        c.setTypedText(argument);
        (void)c.takeTypedText();
    } else {
        FAIL() << "unknown step " << step.toStdString();
    }
}

} // namespace

TEST(TieBreakListController, EditsOfTheList) {
    struct Case {
        QString start;
        QStringList steps;
        QString list; // as the parser reads it
        int selected; // the entry chosen afterwards
        bool refused; // a notice says why the last edit was not taken
    };
    const Case cases[] = {
        {"", {"add BH/C1", "add SB"}, "BH/C1,SB", 1, false},
        {"BH/C1,BH,SB", {"select 2", "up"}, "BH/C1,SB,BH", 1, false},
        {"BH/C1,BH,SB", {"select 0", "up"}, "BH/C1,BH,SB", 0, false},
        {"BH/C1,BH,SB", {"select 0", "down"}, "BH,BH/C1,SB", 1, false},
        {"BH/C1,BH,SB", {"select 2", "down"}, "BH/C1,BH,SB", 2, false},
        {"BH/C1,BH,SB", {"select 1", "remove"}, "BH/C1,SB", 1, false},
        {"BH/C1,BH,SB", {"select 2", "remove"}, "BH/C1,BH", 1, false},
        {"SB", {"select 0", "remove"}, "", -1, false},
        {"BH/C1,BH,SB", {"select 1", "clear"}, "", -1, false},
        {"BH", {"add BH"}, "BH", -1, true},
        {"BH", {"add BH", "add SB"}, "BH,SB", 1, false},
        {"BH,SB", {"type SB, XX"}, "BH,SB", -1, true},
        {"BH,SB", {"type sb; de"}, "SB,DE", -1, false},
        {"", {"type "}, "", -1, false},
        {"DE", {"select 0", "type BH/C1,BH,SB,DE,ARO,TPR,PTP,KS,WIN,WON,BPG"}, "DE", 0, true},
        {"BH/C1,BH,SB,DE,ARO,TPR,PTP,KS,WIN,WON",
         {"add GE"},
         "BH/C1,BH,SB,DE,ARO,TPR,PTP,KS,WIN,WON",
         -1,
         true},
    };
    for (const Case& k : cases) {
        TieBreakListController c(canonical(k.start), false);
        for (const QString& step : k.steps)
            apply(c, step);
        const std::string where = (k.start + " | " + k.steps.join(" | ")).toStdString();
        EXPECT_EQ(c.listText(), canonical(k.list)) << where;
        EXPECT_EQ(c.selectedRow(), k.selected) << where;
        EXPECT_EQ(!c.notice().isEmpty(), k.refused) << where;
        // The text field follows every edit that was taken, and keeps what was typed
        // after a refusal to correct it.
        if (!k.refused) {
            EXPECT_EQ(c.typedText(), c.listText()) << where;
        }
        EXPECT_EQ(c.changed(), canonical(k.list) != canonical(k.start)) << where;
        EXPECT_EQ(c.entryLabels().size(), parseTieBreakList(k.list)->size()) << where;
    }
}

TEST(TieBreakListController, RecommendedListsOfEitherKind) {
    for (const bool roundRobin : {false, true}) {
        const std::vector<RecommendedTieBreaks> lists = recommendedTieBreakLists(roundRobin);
        ASSERT_FALSE(lists.empty());
        for (int k = 0; k < int(lists.size()); ++k) {
            TieBreakListController c("BH", roundRobin);
            EXPECT_EQ(c.recommendedNames().value(k), lists[size_t(k)].name);
            c.chooseRecommended(k);
            EXPECT_EQ(c.list(), lists[size_t(k)].list);
        }
    }
}

TEST(TieBreakListController, EnablingRules) {
    struct Case {
        QString list;
        int selected;
        bool finished;
        bool remove, up, down, clear, add;
    };
    const Case cases[] = {
        {"", -1, false, false, false, false, false, true},
        {"BH,SB,DE", -1, false, false, false, false, true, true},
        {"BH,SB,DE", 0, false, true, false, true, true, true},
        {"BH,SB,DE", 1, false, true, true, true, true, true},
        {"BH,SB,DE", 2, false, true, true, false, true, true},
        {"BH,SB,DE", 1, true, false, false, false, false, false},
    };
    for (const Case& k : cases) {
        TieBreakListController c(canonical(k.list), false, k.finished);
        c.selectRow(k.selected);
        const std::string where = QStringLiteral("%1 row %2 finished %3")
                                      .arg(k.list)
                                      .arg(k.selected)
                                      .arg(k.finished)
                                      .toStdString();
        EXPECT_EQ(c.removeEnabled(), k.remove) << where;
        EXPECT_EQ(c.moveUpEnabled(), k.up) << where;
        EXPECT_EQ(c.moveDownEnabled(), k.down) << where;
        EXPECT_EQ(c.clearEnabled(), k.clear) << where;
        EXPECT_EQ(c.addEnabled(), k.add) << where;
        EXPECT_EQ(c.recommendedEnabled(), !k.finished) << where;
        EXPECT_EQ(c.takeTextEnabled(), !k.finished) << where;
        EXPECT_FALSE(c.saveEnabled()) << where; // nothing changed yet
        EXPECT_EQ(c.notice() == TieBreakListController::finishedRefusal(), k.finished) << where;
    }
}

TEST(TieBreakListController, FinishedTournamentKeepsItsList) {
    TieBreakListController c(canonical("BH,SB"), false, true);
    for (const QString& step :
         QStringList{"select 1", "up", "remove", "clear", "add DE", "recommended 0", "type DE"})
        apply(c, step);
    EXPECT_EQ(c.listText(), canonical("BH,SB"));
    EXPECT_FALSE(c.saveEnabled());
    EXPECT_EQ(c.notice(), TieBreakListController::finishedRefusal());
}

TEST(TieBreakListController, SavesOnlyAChangeAndSaysWhatThePlacesFollow) {
    TieBreakListController c("", true);
    EXPECT_FALSE(c.saveEnabled());
    const QString own = c.orderLine();
    apply(c, "add SB");
    EXPECT_TRUE(c.saveEnabled());
    EXPECT_NE(c.orderLine(), own);
    EXPECT_TRUE(c.orderLine().contains(tieBreakTitle(c.list().front())));
    apply(c, "clear");
    EXPECT_FALSE(c.saveEnabled()); // back to what it opened with
    EXPECT_EQ(c.orderLine(), own);
}

TEST(TieBreakListController, AStoredTextItCannotReadIsShownAsRefused) {
    TieBreakListController c("XYZ", false);
    EXPECT_TRUE(c.list().empty());
    EXPECT_FALSE(c.notice().isEmpty());
}
