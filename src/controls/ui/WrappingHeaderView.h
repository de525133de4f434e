#pragma once

#include <QHeaderView>

class QFontMetrics;

namespace si {

// A title cut to two lines of at most `width` pixels, wrapped between words; what still does not
// fit is elided. A title that fits on one line is returned unchanged.
QString TwoLineTitle(const QFontMetrics& metrics, const QString& title, int width);

// A horizontal header whose titles take two lines, so a narrow column of figures keeps a
// readable title; the full title is the tooltip the model gives.
class WrappingHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit WrappingHeaderView(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    static constexpr int kPadding = 4;
};

}  // namespace si
