#include "ui/diagramexport.h"

#include "dialogue/aifwriter.h"
#include "dialogue/argdownwriter.h"
#include "dialogue/dotgraph.h"
#include "dialogue/lineofargumentation.h"
#include "dialogue/stagegraph.h"
#include "dialogue/textfile.h"
#include "ui/diagramscene.h"
#include "ui/utf8.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// A PNG of a big diagram stays within what an image viewer opens comfortably.
constexpr double LargestImagePixels = 40e6;
constexpr double LargestImageSide = 32000;
// PDF viewers refuse pages larger than 200 inches.
constexpr double LargestPdfPage = 14400;

void writeBytes(const QString &path, const QByteArray &bytes)
{
    WriteFileAtomically(modelText(path), std::string_view(bytes.constData(),
                                                          static_cast<std::size_t>(bytes.size())));
}

// Text formats write the stage graph through their writer.
template <std::string (*Text)(const TStageGraph &)>
void writeText(const TLineOfArgumentation &line, const QString &path, const TPaper &)
{
    WriteFileAtomically(modelText(path), Text(StageGraph(*line.CurrentStage)));
}

// AIF carries the moves as well, so that Korvane reads the stage back exactly, and what the
// opened AIF file held beyond the stage.
void writeAif(const TLineOfArgumentation &line, const QString &path, const TPaper &)
{
    WriteFileAtomically(modelText(path),
                        AifText(StageGraph(*line.CurrentStage), MoveTextLines(line),
                                line.AifExtras.get()));
}

// Pictures render the diagram drawn afresh from the stage, whichever view is showing.
template <typename Render>
void writePicture(const TArgumentationStage &stage, const QString &path, Render render)
{
    QGraphicsScene scene;
    DrawDiagram(scene, DiagramSnapshot(stage));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    render(scene, buffer);
    buffer.close();
    writeBytes(path, bytes);
}

void writeSvg(const TLineOfArgumentation &line, const QString &path, const TPaper &)
{
    const TArgumentationStage &stage = *line.CurrentStage;
    writePicture(stage, path, [&](QGraphicsScene &scene, QBuffer &buffer) {
        const QRectF rect = scene.sceneRect();
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setTitle(QStringLiteral("Korvane diagram"));
        svg.setSize(rect.size().toSize());
        svg.setViewBox(QRectF(QPointF(0, 0), rect.size()));
        QPainter painter(&svg);
        scene.render(&painter, QRectF(QPointF(0, 0), rect.size()), rect);
    });
}

void writePng(const TLineOfArgumentation &line, const QString &path, const TPaper &)
{
    const TArgumentationStage &stage = *line.CurrentStage;
    writePicture(stage, path, [&](QGraphicsScene &scene, QBuffer &buffer) {
        const QRectF rect = scene.sceneRect();
        // Twice the size for sharp text, less when that would be too big.
        const double area = std::max(1.0, rect.width() * rect.height());
        const double scale = std::min({2.0, std::sqrt(LargestImagePixels / area),
                                       LargestImageSide / std::max(1.0, rect.width()),
                                       LargestImageSide / std::max(1.0, rect.height())});
        QImage image(std::max(1, static_cast<int>(std::ceil(rect.width() * scale))),
                     std::max(1, static_cast<int>(std::ceil(rect.height() * scale))),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                               | QPainter::SmoothPixmapTransform);
        scene.render(&painter, QRectF(image.rect()), rect);
        painter.end();
        image.save(&buffer, "PNG");
    });
}

void writePdf(const TLineOfArgumentation &line, const QString &path, const TPaper &paper)
{
    const TArgumentationStage &stage = *line.CurrentStage;
    writePicture(stage, path, [&](QGraphicsScene &scene, QBuffer &buffer) {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(QStringLiteral("Korvane diagram"));
        pdf.setCreator(QStringLiteral("Korvane"));
        if (paper.fit == TPageFit::DiagramSize) {
            // One page the diagram's size, in its own units (points).
            const QRectF rect = scene.sceneRect();
            const double scale =
                std::min(1.0, LargestPdfPage / std::max({1.0, rect.width(), rect.height()}));
            pdf.setPageSize(QPageSize(rect.size() * scale, QPageSize::Point));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        } else {
            pdf.setPageLayout(paper.sheet);
        }
        PaintOnPages(scene, pdf, paper.fit);
    });
}

const TExportFormat Formats[] = {
    {QStringLiteral("SVG picture (*.svg)"), QStringLiteral("svg"), writeSvg},
    {QStringLiteral("PNG picture (*.png)"), QStringLiteral("png"), writePng},
    {QStringLiteral("PDF document (*.pdf)"), QStringLiteral("pdf"), writePdf},
    {QStringLiteral("Graphviz DOT (*.gv *.dot)"), QStringLiteral("gv"), writeText<DotText>},
    {QStringLiteral("AIF JSON (*.json)"), QStringLiteral("json"), writeAif},
    {QStringLiteral("Argdown (*.argdown)"), QStringLiteral("argdown"), writeText<ArgdownText>},
};

} // namespace

std::span<const TExportFormat> ExportFormats() { return Formats; }

const TExportFormat *ExportFormatFor(const QString &path, const QString &filter)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const TExportFormat &format : Formats) {
        const QString pattern = QStringLiteral("*.") + suffix;
        if (!suffix.isEmpty()
            && (format.filter.contains(pattern + QLatin1Char(' '))
                || format.filter.contains(pattern + QLatin1Char(')'))))
            return &format;
    }
    for (const TExportFormat &format : Formats) {
        if (format.filter == filter)
            return &format;
    }
    return nullptr;
}

void PrintDiagram(const TArgumentationStage &stage, QPrinter &printer, TPageFit fit)
{
    QGraphicsScene scene;
    DrawDiagram(scene, DiagramSnapshot(stage));
    PaintOnPages(scene, printer, fit);
}
