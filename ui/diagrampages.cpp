#include "ui/diagrampages.h"

#include <QGraphicsScene>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

int PaintOnPages(QGraphicsScene &scene, QPagedPaintDevice &device, TPageFit fit)
{
    const QRectF source = scene.sceneRect();
    // The diagram's units are points; the painter's are the device's pixels.
    const double fullSize = device.logicalDpiX() / 72.0;
    const QSizeF sheet(device.width(), device.height());
    QPainter painter(&device);
    if (fit != TPageFit::Pages) {
        // Never enlarged: a small diagram at full size, centred along the top.
        const double scale = std::min({fullSize, sheet.width() / std::max(1.0, source.width()),
                                       sheet.height() / std::max(1.0, source.height())});
        const QSizeF size = source.size() * scale;
        scene.render(&painter, QRectF(QPointF((sheet.width() - size.width()) / 2, 0), size), source);
        return 1;
    }
    // Each sheet shows the next piece of the diagram at full size.
    const QSizeF piece = sheet / fullSize;
    const int columns = std::max(1, static_cast<int>(std::ceil(source.width() / piece.width() - 1e-9)));
    const int rows = std::max(1, static_cast<int>(std::ceil(source.height() / piece.height() - 1e-9)));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (row > 0 || column > 0)
                device.newPage();
            const QRectF part = QRectF(source.topLeft() + QPointF(column * piece.width(),
                                                                  row * piece.height()),
                                       piece)
                                    .intersected(source);
            scene.render(&painter, QRectF(QPointF(0, 0), part.size() * fullSize), part);
        }
    }
    return rows * columns;
}
