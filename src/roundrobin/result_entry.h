// What both tournament windows share about entering a result: the selector's legend
// and the keys that write a result straight from the game list.
#pragma once

#include <QString>
#include <QStringList>
#include <Qt>
#include <optional>

namespace ladya {

// The text the result selector shows for an entry: the code with its meaning
// ("1 — победа белых"); the empty entry stays empty. What is stored is the bare code.
QString resultEntryLabel(const QString& entry);
QStringList resultEntryLabels(const QStringList& entries);

// The entry a key writes at once in the game list: 1, 0, "=" (a draw, "%"), "+" and "-"
// (forfeits, the keypad's too); Delete clears. Nothing for other keys or with Ctrl, Alt
// or Meta held, which belong to shortcuts.
std::optional<QString> resultEntryForKey(int key, Qt::KeyboardModifiers modifiers);

} // namespace ladya
