#pragma once

#include <QString>

namespace ladya {

// A message box to show: a title and a text in which "\n" breaks the line.
struct Message {
    QString title;
    QString text;
    bool operator==(const Message&) const = default;
};

} // namespace ladya
