// The pairing dialog of a Swiss round: the unpaired players, the candidate opponents
// of the one chosen and the pairs made so far, over PairingController. It runs modal to
// the tournament window, which is hidden meanwhile.
#pragma once

#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"

#include <QWidget>
#include <optional>

namespace ladya {
namespace ui {
class Platform;
}

namespace PairingDialog {
// Pairs the next round of `tournament` with the standings as they stand. Returns the
// tournament the commit saved and read back, or nothing when the dialog was closed
// without committing.
std::optional<SwissTournament> run(ui::Platform& platform, const SwissTournament& tournament,
                                   const SwissStandings& standings, QWidget* caller);
} // namespace PairingDialog

} // namespace ladya
