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
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    QString text;
    const QFont* font = &option.font;
    const QFontMetrics* metrics = &option.fontMetrics;
    QStyleOptionViewItem item;
    // Most cells are neither selected nor current: the view has painted their
    // background already, and only the text is left. The style paints the others'
    // background, selection and focus; the text is painted here for all.
    const bool plain = !(
        option.state & (QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver));
    if (plain) {
        text = index.data(Qt::DisplayRole).toString();
    } else {
        item = option;
        initStyleOption(&item, index);
        text = item.text;
        item.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        font = &item.font;
        metrics = &item.fontMetrics;
    }
    if (text.isEmpty())
        return;

    // A cell of text alone: the style's text area is the whole cell.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Normal
                                                                               : QPalette::Inactive;
    const QPen pen = painter->pen();
    const QFont oldFont = painter->font();
    painter->setFont(*font);
    painter->setPen(option.palette.color(group, (option.state & QStyle::State_Selected)
                                                    ? QPalette::HighlightedText
                                                    : QPalette::Text));
    // Too wide a text is cut to the area; the whole text is in the cell's tooltip.
    const QStaticText& glyphs = shaped(text, *font, *metrics, area.width());
    const qreal top = area.top() + (area.height() - glyphs.size().height()) / 2;
    painter->drawStaticText(QPointF(area.left(), top), glyphs);
    painter->setPen(pen);
    painter->setFont(oldFont);
}

} // namespace ladya::ui
