#include "ui/statusicons.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 127, 0);
const QRgb Grey = qRgb(127, 127, 127);
const QRgb Clear = qRgba(0, 0, 0, 0);

TEST(TStatusIconsTest, KeyPixelsOfTheEightPictures)
{
    const struct {
        int image, column, row;
        QRgb expected;
    } cases[] = {
        {0, 7, 2, Black}, {0, 8, 10, Black}, {0, 7, 11, White}, {0, 8, 13, Black},
        {0, 6, 5, White}, {1, 4, 4, Black},  {1, 11, 4, Black}, {1, 7, 12, Black},
        {1, 7, 11, White}, {1, 3, 4, White}, {2, 2, 2, Red},    {2, 13, 13, Red},
        {2, 13, 2, Red},  {2, 2, 13, Red},   {2, 7, 7, Red},    {2, 7, 2, White},
        {2, 1, 1, White}, {3, 7, 2, Green},  {3, 7, 13, Green}, {3, 2, 7, Green},
        {3, 13, 8, Green}, {3, 6, 6, Green}, {3, 5, 5, White},  {3, 10, 2, White},
        {4, 2, 7, Grey},  {4, 13, 8, Grey},  {4, 7, 2, Grey},   {4, 8, 13, Grey},
        {4, 7, 7, White}, {4, 2, 2, White},  {4, 3, 7, Grey},   {4, 5, 7, White},
        {5, 5, 2, Grey},  {5, 2, 5, Grey},   {5, 9, 6, Grey},   {5, 13, 13, Grey},
        {5, 8, 12, Grey}, {5, 10, 10, White}, {5, 7, 12, White}, {6, 1, 7, Black},
        {6, 2, 11, Black}, {6, 1, 13, Black}, {6, 2, 14, Black}, {6, 1, 12, Clear},
        {6, 0, 0, Clear}, {6, 8, 8, Clear},  {7, 2, 7, Black},  {7, 6, 8, Black},
        {7, 3, 14, Black}, {7, 0, 7, Clear}, {7, 7, 7, Clear},  {7, 3, 13, Clear},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(testing::Message() << "image " << each.image << " at " << each.column
                                        << ", " << each.row);
        const QImage image = TStatusIcons::image(each.image);
        EXPECT_EQ(image.size(), QSize(16, 16));
        EXPECT_EQ(image.pixel(each.column, each.row), each.expected);
    }
}

TEST(TStatusIconsTest, PicturesStayInsideTheirPlaces)
{
    // Status pictures fill columns and rows 2 to 13 and leave the border white; overlays keep
    // to the lower left corner.
    const struct {
        int image, left, top, right, bottom;
    } cases[] = {
        {0, 7, 2, 8, 13}, {1, 4, 2, 11, 13}, {2, 2, 2, 13, 13}, {3, 2, 2, 13, 13},
        {4, 2, 2, 13, 13}, {5, 2, 2, 13, 13}, {6, 1, 7, 2, 14}, {7, 1, 7, 6, 14},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.image);
        const QImage image = TStatusIcons::image(each.image);
        const QRgb background = each.image < 6 ? White : Clear;
        int left = 16, top = 16, right = -1, bottom = -1;
        for (int row = 0; row < 16; ++row)
            for (int column = 0; column < 16; ++column)
                if (image.pixel(column, row) != background) {
                    left = std::min(left, column);
                    right = std::max(right, column);
                    top = std::min(top, row);
                    bottom = std::max(bottom, row);
                }
        EXPECT_EQ(left, each.left);
        EXPECT_EQ(top, each.top);
        EXPECT_EQ(right, each.right);
        EXPECT_EQ(bottom, each.bottom);
    }
}

TEST(TStatusIconsTest, NodePictureIsTheStatusWithTheTypeMarkOverIt)
{
    using S = TJustificationStatus;
    using T = TStatementType;
    const struct {
        S status;
        T type;
        int image;
        int overlay;
    } cases[] = {
        {S::Justified, T::Assumption, 3, 6}, {S::Justified, T::Issue, 3, 7},
        {S::Unjustified, T::Assumption, 2, 6}, {S::Unjustified, T::Issue, 2, 7},
        {S::Undecided, T::Assumption, 4, 6}, {S::Undecided, T::Issue, 4, 7},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(testing::Message() << each.image << "+" << each.overlay);
        const QImage node = TStatusIcons::nodeImage(each.status, each.type);
        const QImage base = TStatusIcons::image(each.image);
        const QImage overlay = TStatusIcons::image(each.overlay);
        for (int row = 0; row < 16; ++row)
            for (int column = 0; column < 16; ++column) {
                const QRgb expected = qAlpha(overlay.pixel(column, row)) == 255
                                          ? overlay.pixel(column, row)
                                          : base.pixel(column, row);
                ASSERT_EQ(node.pixel(column, row), expected) << column << ", " << row;
            }
    }
}

// The eight pictures and the six node pictures by file name, as the golden files hold them.
std::vector<std::pair<QString, QImage>> namedPictures(qreal ratio)
{
    std::vector<std::pair<QString, QImage>> pictures;
    for (int index = 0; index < TStatusIcons::ImageCount; ++index)
        pictures.emplace_back(QStringLiteral("picture%1").arg(index),
                              TStatusIcons::image(index, ratio));
    const std::pair<TJustificationStatus, const char *> statuses[] = {
        {TJustificationStatus::Justified, "justified"},
        {TJustificationStatus::Unjustified, "unjustified"},
        {TJustificationStatus::Undecided, "undecided"},
    };
    const std::pair<TStatementType, const char *> types[] = {
        {TStatementType::Assumption, "assumption"},
        {TStatementType::Issue, "issue"},
    };
    for (const auto &[status, statusName] : statuses)
        for (const auto &[type, typeName] : types)
            pictures.emplace_back(QStringLiteral("node-%1-%2")
                                      .arg(QLatin1String(statusName), QLatin1String(typeName)),
                                  TStatusIcons::nodeImage(status, type, ratio));
    return pictures;
}

// The sixteen-pixel pictures are hand-placed; the golden files keep any change to one of their
// pixels from going unnoticed. KORVANE_UPDATE_GOLDEN=1 rewrites the files from the code.
TEST(TStatusIconsTest, SixteenPixelPicturesMatchTheGoldenFiles)
{
    const QDir folder(QStringLiteral(KORVANE_GOLDEN_ICONS_DIR));
    const bool update = qEnvironmentVariableIntValue("KORVANE_UPDATE_GOLDEN") == 1;
    for (const auto &[name, picture] : namedPictures(1.0)) {
        SCOPED_TRACE(name.toStdString());
        const QString path = folder.filePath(name + QStringLiteral(".png"));
        const QImage actual = picture.convertToFormat(QImage::Format_ARGB32);
        if (update) {
            ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
            ASSERT_TRUE(actual.save(path));
            continue;
        }
        const QImage golden = QImage(path).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(golden.size(), QSize(16, 16)) << path.toStdString();
        EXPECT_DOUBLE_EQ(actual.devicePixelRatio(), 1.0);
        for (int row = 0; row < 16; ++row)
            for (int column = 0; column < 16; ++column)
                ASSERT_EQ(actual.pixel(column, row), golden.pixel(column, row))
                    << column << ", " << row;
    }
}

// How many pixels of two pictures of one size differ, in ARGB.
int pixelsUnlike(const QImage &one, const QImage &other)
{
    if (one.size() != other.size())
        return -1;
    int unlike = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x)
            unlike += one.pixel(x, y) != other.pixel(x, y);
    return unlike;
}

// The index of the colour in palette nearest to colour, transparency counted as a colour.
std::size_t nearestColour(QRgb colour, const std::vector<QRgb> &palette)
{
    auto distance = [colour](QRgb other) {
        const QRgb a = qPremultiply(colour), b = qPremultiply(other);
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
               + std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
    };
    std::size_t nearest = 0;
    for (std::size_t each = 1; each < palette.size(); ++each)
        if (distance(palette[each]) < distance(palette[nearest]))
            nearest = each;
    return nearest;
}

// The mean colour of drawn's device pixels nearest to the centre of sixteen-pixel pixel (column,
// row): one when the ratio is odd, the four around it when even.
QRgb atCentre(const QImage &drawn, int ratio, int column, int row)
{
    const int first = ratio % 2 == 1 ? ratio / 2 : ratio / 2 - 1, last = ratio / 2;
    int red = 0, green = 0, blue = 0, alpha = 0, count = 0;
    for (int y = row * ratio + first; y <= row * ratio + last; ++y)
        for (int x = column * ratio + first; x <= column * ratio + last; ++x, ++count) {
            const QRgb each = qPremultiply(drawn.pixel(x, y));
            red += qRed(each);
            green += qGreen(each);
            blue += qBlue(each);
            alpha += qAlpha(each);
        }
    return qUnpremultiply(qRgba(red / count, green / count, blue / count, alpha / count));
}

// Larger pictures are painted at their own resolution, so they are not the sixteen-pixel ones
// enlarged; yet every shape stays where it was: read at each sixteen-pixel centre, nearly every
// pixel has the colour it has at sixteen pixels. Edges passing close to a centre may differ; a
// mark missing or moved by a pixel changes far more than one in eight of the inked pixels.
TEST(TStatusIconsTest, LargerRatiosArePaintedAtTheirResolutionWithTheShapesInPlace)
{
    const auto small = namedPictures(1.0);
    for (const int ratio : {2, 3}) {
        const auto large = namedPictures(ratio);
        for (std::size_t at = 0; at < small.size(); ++at) {
            SCOPED_TRACE(testing::Message() << small[at].first.toStdString() << " at " << ratio);
            const QImage &picture = small[at].second;
            const QImage &drawn = large[at].second;
            ASSERT_EQ(drawn.size(), QSize(16 * ratio, 16 * ratio));
            EXPECT_DOUBLE_EQ(drawn.devicePixelRatio(), ratio);

            EXPECT_GT(pixelsUnlike(drawn, picture.scaled(drawn.size())), 0);

            std::vector<QRgb> palette;
            for (int row = 0; row < 16; ++row)
                for (int column = 0; column < 16; ++column)
                    if (std::find(palette.begin(), palette.end(), picture.pixel(column, row))
                        == palette.end())
                        palette.push_back(picture.pixel(column, row));
            int ink = 0, misplaced = 0;
            for (int row = 0; row < 16; ++row)
                for (int column = 0; column < 16; ++column) {
                    const QRgb expected = picture.pixel(column, row);
                    const QRgb centre = atCentre(drawn, ratio, column, row);
                    ink += expected != palette.front();
                    misplaced += nearestColour(centre, palette) != nearestColour(expected, palette);
                }
            EXPECT_LE(misplaced, ink / 8);
        }
    }
}

// The tree asks for icons through QIcon: by pixmap at a ratio, or by painting into its device.
// Either way the picture comes drawn for that ratio, the same for a selected row, never a
// scaled copy of another size.
TEST(TStatusIconsTest, NodeIconIsDrawnForTheRatioAskedFor)
{
    const TStatusIcons icons;
    for (const auto status : {TJustificationStatus::Justified, TJustificationStatus::Unjustified,
                              TJustificationStatus::Undecided})
        for (const auto type : {TStatementType::Assumption, TStatementType::Issue})
            for (const qreal ratio : {1.25, 1.5, 2.0, 3.0}) {
                SCOPED_TRACE(testing::Message()
                             << int(status) << "/" << int(type) << " at " << ratio);
                const QIcon &icon = icons.nodeIcon(status, type);
                const QImage expected = TStatusIcons::nodeImage(status, type, ratio);
                const int side = qRound(16 * ratio);
                for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Selected}) {
                    const QPixmap pixmap = icon.pixmap(QSize(16, 16), ratio, mode);
                    EXPECT_EQ(pixmap.size(), QSize(side, side));
                    EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
                    EXPECT_EQ(pixelsUnlike(pixmap.toImage(), expected), 0);
                }

                QImage device(side, side, QImage::Format_ARGB32);
                device.setDevicePixelRatio(ratio);
                device.fill(Qt::black);
                QPainter painter(&device);
                icon.paint(&painter, QRect(0, 0, 16, 16));
                painter.end();
                EXPECT_EQ(pixelsUnlike(device, expected), 0);
            }
}

TEST(TStatusIconsTest, SelectedNodeKeepsItsPicture)
{
    const TStatusIcons icons;
    const QIcon &icon = icons.nodeIcon(TJustificationStatus::Unjustified, TStatementType::Issue);
    const QImage normal = icon.pixmap(16, 16, QIcon::Normal).toImage();
    const QImage selected = icon.pixmap(16, 16, QIcon::Selected).toImage();
    EXPECT_EQ(normal.convertToFormat(QImage::Format_ARGB32),
              selected.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(normal.convertToFormat(QImage::Format_ARGB32),
              TStatusIcons::nodeImage(TJustificationStatus::Unjustified, TStatementType::Issue));
    // A disabled tree greys its icons like the rest of the window.
    EXPECT_GT(pixelsUnlike(icon.pixmap(16, 16, QIcon::Disabled).toImage(), normal), 0);
}

} // namespace
