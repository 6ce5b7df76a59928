// Paints the cells of a list as one line of plain text each, keeping every text's
// shaped glyphs: a list refilled on every click (the candidates of the pairing dialog)
// then repaints its rows from the cache instead of laying the same names and figures
// out again, which is most of the time a repaint takes.
#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace ladya::ui {

class PlainTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    struct Shaped {
        QStaticText whole;
        // The text cut to fit the last width it was too wide for (columns keep their
        // widths, so a long name or opponent list is cut once, not at every repaint).
        QStaticText elided;
        int elidedWidth = -1;
    };
    // The glyphs to paint `text` in `width` pixels: whole, or cut with "…".
    const QStaticText& shaped(const QString& text, const QFont& font, const QFontMetrics& metrics,
                              int width) const;

    // Bounded: cleared when it holds more texts than any list of the program shows.
    static constexpr int MaxCached = 50000;
    mutable QHash<QString, Shaped> m_cache;
    mutable QFont m_font;
};

} // namespace ladya::ui
