#pragma once

#include <QPageLayout>

#include <cstdint>

class QGraphicsScene;
class QPagedPaintDevice;

// How a diagram goes on paper.
enum class TPageFit : std::uint8_t {
    DiagramSize, // One page cut to the diagram's own size (a file only).
    OnePage,     // The sheet's size; the diagram shrunk to it when larger.
    Pages,       // At full size, spread over as many sheets as it takes, row by row.
};

// What a PDF of the diagram is printed on: the fit, and the sheet when there is one.
struct TPaper {
    TPageFit fit = TPageFit::DiagramSize;
    QPageLayout sheet;
};

// Paints the whole scene on the device's pages, as the fit says (DiagramSize as OnePage: the
// device has its page already). Returns how many pages it painted.
int PaintOnPages(QGraphicsScene &scene, QPagedPaintDevice &device, TPageFit fit);
