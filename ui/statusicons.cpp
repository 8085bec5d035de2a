#include "ui/statusicons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <cassert>
#include <initializer_list>
#include <vector>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Clear = qRgba(0, 0, 0, 0);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb DarkGreen = qRgb(0, 127, 0);
const QRgb Grey = qRgb(127, 127, 127);

// One colour of a picture and the area it covers, in the 16 x 16 space where pixel (column, row)
// is the square from (column, row) to (column + 1, row + 1).
struct TMark {
    QRgb colour;
    QPainterPath area;
};

// The area a round pen of the given width covers along line.
QPainterPath penStroke(const QPainterPath &line, qreal width)
{
    QPainterPathStroker pen;
    pen.setWidth(width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen.createStroke(line);
}

QPainterPath penLine(QPointF from, QPointF to, qreal width)
{
    QPainterPath line(from);
    line.lineTo(to);
    return penStroke(line, width);
}

QPainterPath disc(QPointF centre, qreal radius)
{
    QPainterPath area;
    area.addEllipse(centre, radius, radius);
    return area;
}

// An arc of circle from startAngle through sweep degrees (clockwise when negative), then straight
// on to each of points.
QPainterPath hook(const QRectF &circle, qreal startAngle, qreal sweep,
                  std::initializer_list<QPointF> points)
{
    QPainterPath line;
    line.arcMoveTo(circle, startAngle);
    line.arcTo(circle, startAngle, sweep);
    for (QPointF point : points)
        line.lineTo(point);
    return line;
}

// The marks of a picture in painting order. Their sizes are chosen so that the pixel centres
// they cover are the hand-placed sixteen-pixel pictures, every centre at least 0.02 from an edge.
std::vector<TMark> marks(int index)
{
    switch (index) {
    case 0: // exclamation mark
        return {{Black, penLine({8, 3}, {8, 10}, 2)}, {Black, disc({8, 13}, 1)}};
    case 1: // question mark; the hook leaves the arc along its tangent
        return {{Black, penStroke(hook({5, 3, 6, 6}, 165, -210, {{8, 10.25}}), 2.1)},
                {Black, disc({8, 13}, 1)}};
    case 2: // diagonal cross
        return {{Red, penLine({3, 3}, {13, 13}, 2.2)}, {Red, penLine({13, 3}, {3, 13}, 2.2)}};
    case 3: { // upright cross, bars four thick
        QPainterPath bars;
        bars.setFillRule(Qt::WindingFill); // where the bars cross is inside both, not a hole
        bars.addRoundedRect(QRectF(6, 2, 4, 12), 1, 1);
        bars.addRoundedRect(QRectF(2, 6, 12, 4), 1, 1);
        return {{DarkGreen, bars}};
    }
    case 4: { // ring
        QPainterPath ring;
        ring.addEllipse(QPointF(8, 8), 6, 6);
        ring.addEllipse(QPointF(8, 8), 3.6, 3.6);
        ring.setFillRule(Qt::OddEvenFill);
        return {{Grey, ring}};
    }
    case 5: // small plus upper left, minus lower right
        return {{Grey, penLine({6, 3}, {6, 9}, 2)},
                {Grey, penLine({3, 6}, {9, 6}, 2)},
                {Grey, penLine({9, 13}, {13, 13}, 2)}};
    case 6: // small exclamation mark, lower left
        return {{Black, penLine({2, 8}, {2, 11}, 2)}, {Black, disc({2, 14}, 1)}};
    case 7: // small question mark, lower left
        return {{Black, penStroke(hook({1.85, 7.35, 4.3, 4.3}, 155, -155, {{4, 11.3}, {4, 12.4}}),
                                  1.5)},
                {Black, disc({4, 14.5}, 0.8)}};
    default:
        break;
    }
    return {};
}

QRgb backgroundOf(int index) { return index < TStatusIcons::AssumptionOverlay ? White : Clear; }

// At sixteen pixels a pixel takes a mark's colour when its centre lies inside the mark: the rule
// the hand-placed pictures follow, and it keeps their edges hard. Any other size is painted
// smoothly at its own resolution, so it is never an enlarged copy.
QImage render(const std::vector<TMark> &marks, QRgb background, int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32);
    image.fill(background);
    if (pixels == TStatusIcons::ImageSize) {
        for (const TMark &mark : marks)
            for (int row = 0; row < pixels; ++row)
                for (int column = 0; column < pixels; ++column)
                    if (mark.area.contains(QPointF(column + 0.5, row + 0.5)))
                        image.setPixel(column, row, mark.colour);
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / qreal(TStatusIcons::ImageSize), pixels / qreal(TStatusIcons::ImageSize));
    for (const TMark &mark : marks)
        painter.fillPath(mark.area, QColor(mark.colour));
    return image;
}

int pixelsFor(qreal devicePixelRatio)
{
    assert(devicePixelRatio > 0);
    return std::max(1, qRound(TStatusIcons::ImageSize * devicePixelRatio));
}

QImage renderNode(TJustificationStatus status, TStatementType type, int pixels)
{
    std::vector<TMark> node = marks(TStatusIcons::imageIndexFor(status));
    const std::vector<TMark> overlay = marks(TStatusIcons::overlayIndexFor(type));
    node.insert(node.end(), overlay.begin(), overlay.end());
    return render(node, White, pixels);
}

// Gives the tree a node picture drawn for the size and device pixel ratio it paints at. Pictures
// are kept, as the tree asks again on every paint.
class TNodeIconEngine final : public QIconEngine {
public:
    TNodeIconEngine(TJustificationStatus status, TStatementType type)
        : m_status(status), m_type(type)
    {
    }

    QIconEngine *clone() const override { return new TNodeIconEngine(m_status, m_type); }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const int pixels = std::min(size.width(), size.height());
        if (pixels <= 0)
            return {};
        // Selected and active rows keep the picture; only a disabled one looks different.
        const bool disabled = mode == QIcon::Disabled;
        for (const TKept &kept : m_kept)
            if (kept.pixels == pixels && kept.scale == scale && kept.disabled == disabled)
                return kept.pixmap;
        QPixmap pixmap = QPixmap::fromImage(renderNode(m_status, m_type, pixels));
        if (disabled && qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr) {
            // As Qt's own icons do it, so a disabled tree looks like the rest of the window.
            QStyleOption option(0);
            option.palette = QGuiApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        pixmap.setDevicePixelRatio(scale);
        if (m_kept.size() >= MaxKept)
            m_kept.clear();
        m_kept.push_back({pixels, scale, disabled, pixmap});
        return pixmap;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatio()
                                                         : qGuiApp->devicePixelRatio();
        const int side = std::min(rect.width(), rect.height());
        QRect square(0, 0, side, side);
        square.moveCenter(rect.center());
        painter->drawPixmap(square, scaledPixmap(square.size() * ratio, mode, state, ratio));
    }

private:
    struct TKept {
        int pixels;
        qreal scale;
        bool disabled;
        QPixmap pixmap;
    };
    // A window meets few ratios and sizes; a handful covers them.
    static constexpr std::size_t MaxKept = 8;

    TJustificationStatus m_status;
    TStatementType m_type;
    std::vector<TKept> m_kept;
};

} // namespace

TStatusIcons::TStatusIcons()
{
    for (TJustificationStatus status : {TJustificationStatus::Justified,
                                        TJustificationStatus::Unjustified,
                                        TJustificationStatus::Undecided}) {
        for (TStatementType type : {TStatementType::Assumption, TStatementType::Issue})
            m_nodeIcons[static_cast<std::size_t>(iconSlot(status, type))] =
                QIcon(new TNodeIconEngine(status, type));
    }
}

QImage TStatusIcons::image(int index) { return image(index, 1.0); }

QImage TStatusIcons::image(int index, qreal devicePixelRatio)
{
    assert(index >= 0 && index < ImageCount);
    QImage picture = render(marks(index), backgroundOf(index), pixelsFor(devicePixelRatio));
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

int TStatusIcons::imageIndexFor(TJustificationStatus status)
{
    switch (status) {
    case TJustificationStatus::Justified:
        return JustifiedImage;
    case TJustificationStatus::Unjustified:
        return UnjustifiedImage;
    case TJustificationStatus::Undecided:
        break;
    }
    return UndecidedImage;
}

int TStatusIcons::overlayIndexFor(TStatementType type)
{
    return type == TStatementType::Assumption ? AssumptionOverlay : IssueOverlay;
}

QImage TStatusIcons::nodeImage(TJustificationStatus status, TStatementType type)
{
    return nodeImage(status, type, 1.0);
}

QImage TStatusIcons::nodeImage(TJustificationStatus status, TStatementType type,
                               qreal devicePixelRatio)
{
    QImage picture = renderNode(status, type, pixelsFor(devicePixelRatio));
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

const QIcon &TStatusIcons::nodeIcon(TJustificationStatus status, TStatementType type) const
{
    return m_nodeIcons[static_cast<std::size_t>(iconSlot(status, type))];
}

int TStatusIcons::iconSlot(TJustificationStatus status, TStatementType type)
{
    const int statusIndex = std::min(static_cast<int>(status), 2);
    return statusIndex * 2 + (type == TStatementType::Assumption ? 0 : 1);
}
