// Answering the pair dialogs that the pairing dialog opens, and its pairs in the
// form ladya-cli takes them.
#pragma once

#include "support/window_test_util.h"
#include "views/pair_dialog.h"
#include "views/pairing_dialog.h"

namespace ladya::test {

// A pair dialog's answer, run once it is open.
using PairDialogAnswer = std::function<void(PairDialog*)>;

// The next pair dialog is answered by `answer` (it must close it).
inline void whenPairDialogOpens(PairDialogAnswer answer) {
    whenModalOpens([answer = std::move(answer)] {
        PairDialog* d = openWindow<PairDialog>();
        ASSERT_NE(d, nullptr);
        answer(d);
    });
}

inline PairDialogAnswer confirmAfterSwaps(int swaps) {
    return [swaps](PairDialog* d) {
        for (int i = 0; i < swaps; ++i)
            button(d, "swapButton")->click();
        button(d, "confirmButton")->click();
    };
}

// The pairs made so far as the "--pairs" argument of ladya-cli.
inline QString pairsArgument(const PairingWindow& w) {
    QStringList pairs;
    for (const PairRow& row : w.controller().workbench().pairList())
        pairs << QString::number(row.white) + u'-' + QString::number(row.black);
    return pairs.join(u',');
}

} // namespace ladya::test
