#pragma once

#include "model/statement.h"

#include <QIcon>
#include <QImage>

#include <array>

// The eight 16 x 16 pictures of the arguments view, drawn pixel by pixel, and the node icons
// made from them: a status picture with the type's small mark drawn over its lower left corner.
class TStatusIcons {
public:
    static constexpr int ImageCount = 8;
    static constexpr int ImageSize = 16;
    // Indices of the pictures the tree uses.
    static constexpr int UnjustifiedImage = 2;
    static constexpr int JustifiedImage = 3;
    static constexpr int UndecidedImage = 4;
    static constexpr int AssumptionOverlay = 6;
    static constexpr int IssueOverlay = 7;

    // Needs a QGuiApplication: the icons hold pixmaps.
    TStatusIcons();

    // Picture 0 to 7; 0 to 5 opaque on white, 6 and 7 transparent but for their black mark.
    static QImage image(int index);
    // The status picture with the type's overlay drawn over it.
    static QImage nodeImage(TJustificationStatus status, TStatementType type);
    static int imageIndexFor(TJustificationStatus status);
    static int overlayIndexFor(TStatementType type);

    // The node icon, with the same pixmap for the selected state so selection keeps the picture.
    const QIcon &nodeIcon(TJustificationStatus status, TStatementType type) const;

private:
    static int iconSlot(TJustificationStatus status, TStatementType type);

    std::array<QIcon, 6> m_nodeIcons;
};
