#include "controls/ui/WrappingHeaderView.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionHeader>

namespace si {

QString TwoLineTitle(const QFontMetrics& metrics, const QString& title, int width) {
    if (metrics.horizontalAdvance(title) <= width) return title;
    const QStringList words = title.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString first;
    qsizetype taken = 0;
    for (; taken < words.size(); ++taken) {
        const QString longer =
            first.isEmpty() ? words[taken] : first + QLatin1Char(' ') + words[taken];
        if (taken > 0 && metrics.horizontalAdvance(longer) > width) break;
        first = longer;
    }
    const QString rest = words.mid(taken).join(QLatin1Char(' '));
    first = metrics.elidedText(first, Qt::ElideRight, width);
    if (rest.isEmpty()) return first;
    return first + QLatin1Char('\n') + metrics.elidedText(rest, Qt::ElideRight, width);
}

WrappingHeaderView::WrappingHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setDefaultAlignment(Qt::AlignCenter);
    setSectionsClickable(true);
    setHighlightSections(true);
    // The default minimum is the font's widest glyph, which for Persian fonts is a wide
    // ligature: narrow columns of figures could not be narrow.
    setMinimumSectionSize(fontMetrics().horizontalAdvance(QStringLiteral("000")));
}

void WrappingHeaderView::paintSection(QPainter* painter, const QRect& rect,
                                      int logicalIndex) const {
    if (!rect.isValid()) return;
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    option.text.clear();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    const QString title = model()->headerData(logicalIndex, orientation()).toString();
    const QRect text = rect.adjusted(kPadding, 1, -kPadding, -1);
    painter->save();
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(text, Qt::AlignCenter, TwoLineTitle(fontMetrics(), title, text.width()));
    painter->restore();
}

QSize WrappingHeaderView::sectionSizeFromContents(int logicalIndex) const {
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    size.setHeight(2 * fontMetrics().lineSpacing() + 2 * kPadding);
    return size;
}

}  // namespace si
