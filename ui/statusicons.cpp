#include "ui/statusicons.h"

#include <QPainter>
#include <QPixmap>

#include <cassert>
#include <cmath>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb DarkGreen = qRgb(0, 127, 0);
const QRgb Grey = qRgb(127, 127, 127);

// Paints the pixels for which inside(column, row) holds.
template <typename Predicate>
void paint(QImage &image, QRgb colour, Predicate inside)
{
    for (int row = 0; row < TStatusIcons::ImageSize; ++row)
        for (int column = 0; column < TStatusIcons::ImageSize; ++column)
            if (inside(column, row))
                image.setPixel(column, row, colour);
}

// Paints a 16-column picture given as rows of text: 'X' marks a pixel, the first row is row top.
void paintRows(QImage &image, QRgb colour, int top, std::initializer_list<const char *> rows)
{
    int row = top;
    for (const char *line : rows) {
        for (int column = 0; line[column] != '\0'; ++column)
            if (line[column] == 'X')
                image.setPixel(column, row, colour);
        ++row;
    }
}

bool between(int value, int low, int high) { return value >= low && value <= high; }

QImage blank(QRgb background)
{
    QImage image(TStatusIcons::ImageSize, TStatusIcons::ImageSize, QImage::Format_ARGB32);
    image.fill(background);
    return image;
}

} // namespace

TStatusIcons::TStatusIcons()
{
    for (TJustificationStatus status : {TJustificationStatus::Justified,
                                        TJustificationStatus::Unjustified,
                                        TJustificationStatus::Undecided}) {
        for (TStatementType type : {TStatementType::Assumption, TStatementType::Issue}) {
            const QPixmap pixmap = QPixmap::fromImage(nodeImage(status, type));
            QIcon &icon = m_nodeIcons[static_cast<std::size_t>(iconSlot(status, type))];
            icon.addPixmap(pixmap, QIcon::Normal);
            icon.addPixmap(pixmap, QIcon::Selected);
            icon.addPixmap(pixmap, QIcon::Active);
        }
    }
}

QImage TStatusIcons::image(int index)
{
    assert(index >= 0 && index < ImageCount);
    QImage image = blank(index < AssumptionOverlay ? White : qRgba(0, 0, 0, 0));
    switch (index) {
    case 0: // exclamation mark
        paint(image, Black, [](int c, int r) {
            return between(c, 7, 8) && (between(r, 2, 10) || between(r, 12, 13));
        });
        break;
    case 1: // question mark
        paintRows(image, Black, 2,
                  {"......XXXX......",
                   ".....XXXXXX.....",
                   "....XXX..XXX....",
                   "....XX....XX....",
                   "..........XX....",
                   ".........XXX....",
                   "........XXX.....",
                   ".......XXX......",
                   ".......XX.......",
                   "................",
                   ".......XX.......",
                   ".......XX......."});
        break;
    case 2: // diagonal cross, strokes three pixels wide
        paint(image, Red, [](int c, int r) {
            return between(c, 2, 13) && between(r, 2, 13)
                && (std::abs(c - r) <= 1 || std::abs(c + r - 15) <= 1);
        });
        break;
    case 3: // upright cross, bars four pixels thick
        paint(image, DarkGreen, [](int c, int r) {
            return (between(c, 6, 9) && between(r, 2, 13)) || (between(r, 6, 9) && between(c, 2, 13));
        });
        break;
    case 4: // ring centred between pixels 7 and 8
        paint(image, Grey, [](int c, int r) {
            const double distance = std::hypot(c - 7.5, r - 7.5);
            return distance <= 6.0 && distance > 3.6;
        });
        break;
    case 5: // small plus upper left, minus lower right
        paint(image, Grey, [](int c, int r) {
            return (between(c, 5, 6) && between(r, 2, 9)) || (between(r, 5, 6) && between(c, 2, 9))
                || (between(r, 12, 13) && between(c, 8, 13));
        });
        break;
    case 6: // small exclamation mark, lower left
        paint(image, Black, [](int c, int r) {
            return between(c, 1, 2) && (between(r, 7, 11) || between(r, 13, 14));
        });
        break;
    case 7: // small question mark, lower left
        paintRows(image, Black, 7,
                  {"..XXXX..",
                   ".XX..XX.",
                   ".....XX.",
                   "....XX..",
                   "...XX...",
                   "...XX...",
                   "........",
                   "...XX..."});
        break;
    default:
        break;
    }
    return image;
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
    QImage picture = image(imageIndexFor(status));
    QPainter painter(&picture);
    painter.drawImage(0, 0, image(overlayIndexFor(type)));
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
