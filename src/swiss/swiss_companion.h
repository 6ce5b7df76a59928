// The companion file "<tournament>.swx" beside a .swz: the SwissExtras records the
// .swz cannot hold (the format is documented in swiss_companion.cpp). It is written
// atomically under the tournament's own lock, and together with the .swz it changes
// from one consistent pair to the next: the companion names the .swz it belongs to by
// a fingerprint of its structure (participants and boards, not results), and while an
// action rewrites both it also keeps the records that belong to the .swz before.
#pragma once

#include "common/result.h"
#include "swiss/swiss_extras.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace ladya {

struct SwissTournament;

// "<name>.swx" for "<name>.swz" (any other path gets ".swx" appended).
QString companionPath(const QString& swzPath);

// The structure's fingerprint: participants and who sits on which board, not results.
QByteArray swissFingerprint(const SwissTournament& tournament);

} // namespace ladya
