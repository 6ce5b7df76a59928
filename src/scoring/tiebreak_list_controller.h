// The tie-break list editor without its widgets: the ordered list a tournament's
// regulations announce, the edits of it, what the window shows and what it enables.
#pragma once

#include "common/result.h"
#include "scoring/tiebreaks.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace ladya {

class TieBreakListController {
public:
    // `listText` is the stored list ("" for the program's own order), `roundRobin` picks
    // the recommended lists of the kind; a finished tournament's list is shown, never
    // changed.
    TieBreakListController(const QString& listText, bool roundRobin, bool finished = false);

    static QString windowTitle(); // "Тай-брейки"
    // The button that opens the editor from the tournament and creation windows.
    static QString openButton(); // "Тай-брейки…"
    // Why a finished tournament's list stays as it is.
    static QString finishedRefusal();
    // The tip of a tournament window's button: the list in force, or why it stays as it is.
    static QString buttonHint(const QString& listText, bool editable);
    // What a creation window says of the list chosen so far ("Тай-брейки: BH-C1, SB" or
    // the program's own order).
    static QString chosenLine(const QString& listText);

    bool editable() const { return !m_finished; }
    const TieBreakList& list() const { return m_list; }
    // The canonical text of the list, what the tournament stores.
    QString listText() const { return tieBreakListText(m_list); }
    // The list differs from the one the editor opened with.
    bool changed() const { return m_list != m_initial; }

    // The list as the window shows it, an entry a line: "1. " and its legend.
    QStringList entryLabels() const;
    // What the places follow: the list's titles after the points, or the program's own
    // order for the empty list.
    QString orderLine() const;
    // The last refusal (a typed text the list does not take, an entry refused), or the
    // finished tournament's; "" when there is none.
    QString notice() const { return m_notice; }

    // The entry chosen in the list, −1 for none.
    int selectedRow() const { return m_selected; }
    void selectRow(int row);

    // Adding: one of the known tie-breaks (by its legend), then one of the modifiers it
    // takes (the first is the tie-break without one).
    QStringList knownLabels() const;
    int knownChoice() const { return m_known; }
    void chooseKnown(int index);
    QStringList modifierLabels() const;
    int modifierChoice() const { return m_modifier; }
    void chooseModifier(int index);
    bool addEnabled() const;
    // Appends the chosen entry, selected; a refusal (the entry is there already, the list
    // is full) leaves the list and becomes the notice.
    Result<> add();

    bool removeEnabled() const;
    void remove();
    bool moveUpEnabled() const;
    void moveUp();
    bool moveDownEnabled() const;
    void moveDown();
    // The empty list: the program's own order.
    bool clearEnabled() const;
    void clear();

    // The lists FIDE recommends for the kind; choosing one replaces the list.
    QStringList recommendedNames() const;
    bool recommendedEnabled() const { return editable(); }
    void chooseRecommended(int index);

    // The list typed as text ("BH/C1, BH, SB, DE"): the field shows `typedText()`, the
    // list's own text after every other edit. Taking it replaces the list, or leaves the
    // list with the refusal as the notice.
    QString typedText() const { return m_typed; }
    void setTypedText(const QString& text) { m_typed = text; }
    bool takeTextEnabled() const { return editable(); }
    Result<> takeTypedText();

    // "Сохранить" stores the list; it has nothing to store until the list changed.
    bool saveEnabled() const { return editable() && changed(); }

private:
    struct Known {
        QString acronym;
        QStringList modifiers; // "" first, then those the tie-break takes
    };
    // Replaces the list after an edit that cannot fail.
    void setList(TieBreakList list, int selected);
    Result<> refuse(const Result<>& outcome);

    TieBreakList m_initial;
    TieBreakList m_list;
    std::vector<RecommendedTieBreaks> m_recommended;
    std::vector<Known> m_knowns;
    bool m_finished = false;
    int m_selected = -1;
    int m_known = 0;
    int m_modifier = 0;
    QString m_typed;
    QString m_notice;
};

// What a tournament stores for the list typed as `listText` (the canonical text; "" for
// the program's own order), or why not: a finished tournament's places stand, and a text
// parseTieBreakList refuses is named. Both kinds of tournament choose their list by it.
Result<QString> tieBreakListToStore(const QString& listText, bool finished);

} // namespace ladya
