#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace ladya {

// A column of a window's list: its title and its width in pixels.
struct ListColumn {
    QString title;
    int width = 0;
    bool operator==(const ListColumn&) const = default;
};

inline QStringList columnTitles(const QVector<ListColumn>& columns) {
    QStringList titles;
    titles.reserve(columns.size());
    for (const ListColumn& c : columns)
        titles << c.title;
    return titles;
}

} // namespace ladya
