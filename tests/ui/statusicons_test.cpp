#include "ui/statusicons.h"

#include <QDir>

#include <gtest/gtest.h>

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
std::vector<std::pair<QString, QImage>> namedPictures()
{
    std::vector<std::pair<QString, QImage>> pictures;
    for (int index = 0; index < TStatusIcons::ImageCount; ++index)
        pictures.emplace_back(QStringLiteral("picture%1").arg(index), TStatusIcons::image(index));
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
                                  TStatusIcons::nodeImage(status, type));
    return pictures;
}

// The sixteen-pixel pictures are hand-placed; the golden files keep any change to one of their
// pixels from going unnoticed. KORVANE_UPDATE_GOLDEN=1 rewrites the files from the code.
TEST(TStatusIconsTest, SixteenPixelPicturesMatchTheGoldenFiles)
{
    const QDir folder(QStringLiteral(KORVANE_GOLDEN_ICONS_DIR));
    const bool update = qEnvironmentVariableIntValue("KORVANE_UPDATE_GOLDEN") == 1;
    for (const auto &[name, picture] : namedPictures()) {
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
}

} // namespace
