#pragma once

#include "model/statement.h"

#include <QIcon>
#include <QImage>

#include <array>

// The eight pictures of the arguments view and the node icons made from them: a status picture
// with the type's small mark drawn over its lower left corner. Each picture is described once as
// shapes in a 16 x 16 space; at 16 pixels they give the hand-placed pictures pixel for pixel, at
// higher device pixel ratios they are painted smoothly at that resolution.
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

    // The icons draw their pixmaps when first asked, which needs a QGuiApplication.
    TStatusIcons();

    // Picture 0 to 7; 0 to 5 opaque on white, 6 and 7 transparent but for their black mark.
    static QImage image(int index);
    // The picture at 16 * devicePixelRatio pixels, carrying that ratio.
    static QImage image(int index, qreal devicePixelRatio);
    // The status picture with the type's overlay drawn over it.
    static QImage nodeImage(TJustificationStatus status, TStatementType type);
    static QImage nodeImage(TJustificationStatus status, TStatementType type,
                            qreal devicePixelRatio);
    static int imageIndexFor(TJustificationStatus status);
    static int overlayIndexFor(TStatementType type);

    // The node icon, drawn at whatever resolution the view paints at, with the same picture for
    // the selected state so selection keeps it.
    const QIcon &nodeIcon(TJustificationStatus status, TStatementType type) const;

private:
    static int iconSlot(TJustificationStatus status, TStatementType type);

    std::array<QIcon, 6> m_nodeIcons;
};
