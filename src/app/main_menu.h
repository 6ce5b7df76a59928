// The main menu's texts and the decision what a chosen tournament file opens.
#pragma once

#include "common/message.h"

#include <QString>
#include <optional>

namespace ladya::MainMenu {

inline const QString Title = QStringLiteral("Открыть или создать турнир");
inline const QString OpenButton = QStringLiteral("Открыть турнир");
inline const QString CreateLabel = QStringLiteral("Создать турнир");
inline const QString OneCycleButton = QStringLiteral("Круговая система в 1 круг");
inline const QString TwoCyclesButton = QStringLiteral("Круговая система в 2 круга");
inline const QString SwissButton = QStringLiteral("Швейцарская система");
inline const QString ClubButton = QStringLiteral("Клубный рейтинг-лист");
inline constexpr int Width = 320;
inline constexpr int Height = 260;

inline const QString OpenDialogTitle = QStringLiteral("Открыть турнир");
// Description "|" patterns separated by ";".
inline const QString OpenDialogFilter =
    QStringLiteral("Файлы турниров ( kr2, swz, trf )|*.kr2;*.swz;*.trf");

// A TRF file is a Swiss tournament to import into a new tournament file.
enum class FileKind { None, RoundRobin, Swiss, Trf, Unknown };

struct OpenDecision {
    FileKind kind = FileKind::None;
    QString path;
    std::optional<Message> message; // set for an unknown kind
};

// The name alone decides: its last three characters, compared exactly ("kr2", "swz" or
// "trf").
// An empty path (dialog cancelled) opens nothing.
OpenDecision decideOpen(const QString& chosenPath);

} // namespace ladya::MainMenu
