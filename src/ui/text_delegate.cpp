#include "ui/text_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace ladya::ui {

namespace {

QStaticText prepared(const QString& text, const QFont& font) {
    QStaticText glyphs(text);
    glyphs.setTextFormat(Qt::PlainText);
    glyphs.prepare(QTransform(), font);
    return glyphs;
}

} // namespace

const QStaticText& PlainTextDelegate::shaped(const QString& text, const QFont& font,
                                             const QFontMetrics& metrics, int width) const {
    if (font != m_font || m_cache.size() > MaxCached) {
        m_cache.clear();
        m_font = font;
    }
    auto it = m_cache.find(text);
    if (it == m_cache.end())
        it = m_cache.insert(text, Shaped{prepared(text, font), QStaticText(), -1});
    if (it->whole.size().width() <= width)
        return it->whole;
    if (it->elidedWidth != width) {
        it->elided = prepared(metrics.elidedText(text, Qt::ElideRight, width), font);
        it->elidedWidth = width;
    }
    return it->elided;
}

void PlainTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    // The style paints the background, selection and focus; the text is painted here.
    item.text.clear();
    const QWidget* widget = item.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    if (text.isEmpty())
        return;

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget)
                           .adjusted(margin, 0, -margin, 0);
    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (item.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(
        group, (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(area, Qt::IntersectClip);
    // Too wide a text is cut; the whole text is in the cell's tooltip.
    const QStaticText& glyphs = shaped(text, item.font, item.fontMetrics, area.width());
    const qreal top = area.top() + (area.height() - glyphs.size().height()) / 2;
    painter->drawStaticText(QPointF(area.left(), top), glyphs);
    painter->restore();
}

} // namespace ladya::ui
