#include "ui/diagramscene.h"

#include "dialogue/dotgraph.h"
#include "dialogue/stagegraph.h"
#include "model/explanation.h"
#include "ui/statusicons.h"
#include "ui/utf8.h"

#include <QFontMetricsF>
#include <QGraphicsEllipseItem>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <future>
#include <map>
#include <unordered_map>

namespace {

// DotText's sizes and spacing: labels in 10 point text with lines 1.2 times as high, as the
// layout measures them.
constexpr double LabelSize = 10;
constexpr double LineHeight = 1.2 * LabelSize;
// The icon stands where the mark's "[+]" stood when the label was measured.
constexpr double IconSize = 12;
constexpr double Margin = 8;

QColor lookColour(std::string_view colour)
{
    return QColor(QLatin1String(colour.data(), static_cast<qsizetype>(colour.size())));
}

Qt::PenStyle penStyle(std::string_view style)
{
    if (style.find("dotted") != std::string_view::npos)
        return Qt::DotLine;
    if (style.find("dashed") != std::string_view::npos)
        return Qt::DashLine;
    return Qt::SolidLine;
}

// The node icons at three times their size, so that they stay sharp when zoomed in; made on
// first use, on the user-interface thread that paints.
const QImage &nodeImage(TJustificationStatus status, TStatementType type)
{
    static const auto images = [] {
        std::array<QImage, 6> made;
        for (int s = 0; s < 3; ++s) {
            for (int t = 0; t < 2; ++t)
                made[static_cast<std::size_t>(s * 2 + t)] = TStatusIcons::nodeImage(
                    static_cast<TJustificationStatus>(s), static_cast<TStatementType>(t), 3.0);
        }
        return made;
    }();
    return images[static_cast<std::size_t>(static_cast<int>(status) * 2 + static_cast<int>(type))];
}

class TBoxItem : public QGraphicsItem {
public:
    // Draws the label's lines but the last, the status mark and type, which it draws as the
    // node icon and the type's name.
    TBoxItem(const TDiagramSnapshot::TBox &box, const TDiagramLayout::TNode &node)
        : m_box(box)
        , m_rect(-node.width / 2, -node.height / 2, node.width, node.height)
    {
        for (std::size_t i = 0; i + 1 < node.lines.size(); ++i)
            m_lines.append(qtText(node.lines[i]));
        setToolTip(BoxToolTip(box));
    }

    QRectF boundingRect() const override { return m_rect.adjusted(-1.5, -1.5, 1.5, 1.5); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        const TStatusLook look = StatusLook(m_box.status);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(lookColour(look.colour), 2, penStyle(look.border)));
        painter->setBrush(Qt::white);
        painter->drawRoundedRect(m_rect.adjusted(1, 1, -1, -1), 6, 6);

        const QFont font = DiagramFont(LabelSize);
        painter->setFont(font);
        painter->setPen(Qt::black);
        const double top = -LineHeight * static_cast<double>(m_lines.size() + 1) / 2;
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            painter->drawText(QRectF(m_rect.left(), top + LineHeight * static_cast<double>(i),
                                     m_rect.width(), LineHeight),
                              Qt::AlignCenter, m_lines[i]);
        }
        const QString type = QLatin1Char(' ') + QLatin1String(StatementTypeName(m_box.type).data());
        const double typeWidth = QFontMetricsF(font).horizontalAdvance(type);
        const double left = -(IconSize + typeWidth) / 2;
        const double markTop = top + LineHeight * static_cast<double>(m_lines.size());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(QRectF(left, markTop, IconSize, IconSize),
                           nodeImage(m_box.status, m_box.type));
        painter->drawText(QRectF(left + IconSize, markTop, typeWidth + 1, LineHeight),
                          Qt::AlignLeft | Qt::AlignVCenter, type);
    }

private:
    TDiagramSnapshot::TBox m_box;
    QStringList m_lines;
    QRectF m_rect;
};

QPointF point(const TDiagramLayout::TPoint &at) { return {at.x + Margin, at.y + Margin}; }

// An edge's spline with its arrowhead: a filled triangle, a bar across the tip for a block
// ("tee"), or nothing.
QGraphicsPathItem *edgeItem(const TDiagramLayout::TEdge &edge)
{
    QPainterPath path;
    if (!edge.points.empty()) {
        path.moveTo(point(edge.points.front()));
        for (std::size_t i = 1; i + 2 < edge.points.size(); i += 3)
            path.cubicTo(point(edge.points[i]), point(edge.points[i + 1]),
                         point(edge.points[i + 2]));
    }
    const QColor colour = edge.colour.empty() ? QColor(Qt::black) : lookColour(edge.colour);
    const double width = edge.penwidth.empty() ? 1.0 : std::atof(edge.penwidth.c_str());
    QPen pen(colour, width > 0 ? width : 1.0, penStyle(edge.style));
    pen.setCapStyle(Qt::FlatCap);

    QPainterPath head;
    if (edge.hasArrow && !edge.points.empty()) {
        const QPointF from = point(edge.points.back());
        const QPointF tip = point(edge.arrowTip);
        const QPointF along = tip - from;
        const double length = std::hypot(along.x(), along.y());
        if (length > 0) {
            const QPointF across = QPointF(-along.y(), along.x()) / length;
            if (edge.arrowhead == "tee") {
                path.lineTo(tip);
                head.moveTo(tip + across * 6);
                head.lineTo(tip - across * 6);
            } else if (edge.arrowhead != "none") {
                head.moveTo(tip);
                head.lineTo(from + across * 3.5);
                head.lineTo(from - across * 3.5);
                head.closeSubpath();
            }
        }
    }
    auto *item = new QGraphicsPathItem(path);
    item->setPen(pen);
    if (!head.isEmpty()) {
        auto *headItem = new QGraphicsPathItem(head, item);
        QPen solid = pen;
        solid.setStyle(Qt::SolidLine);
        solid.setWidthF(edge.arrowhead == "tee" ? 2 * pen.widthF() : pen.widthF());
        headItem->setPen(solid);
        if (edge.arrowhead != "tee")
            headItem->setBrush(colour);
    }
    return item;
}

void setKind(QGraphicsItem *item, TDiagramItem kind)
{
    item->setData(DiagramItemKind, static_cast<int>(kind));
}

} // namespace

TDiagramSnapshot DiagramSnapshot(const TArgumentationStage &stage,
                                 const TExplanations *explanations)
{
    const TStageGraph graph = StageGraph(stage);
    TDiagramSnapshot snapshot;
    snapshot.boxes.reserve(graph.Boxes.size());
    for (const TStatement *statement : graph.Boxes)
        snapshot.boxes.push_back(
            {qtText(statement->Text), statement->StatementType, statement->JustificationStatus,
             explanations ? qtText(explanations->Explain(*statement).Text) : QString()});
    snapshot.steps = static_cast<int>(graph.Steps.size());
    snapshot.dot = DotText(graph);
    return snapshot;
}

QFont DiagramFont(double size)
{
    QFont font(QStringLiteral("Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    return font;
}

TTextMeasure DiagramTextMeasure()
{
    return [metrics = std::map<double, QFontMetricsF>()](std::string_view text, std::string_view,
                                                         double size) mutable {
        auto it = metrics.find(size);
        if (it == metrics.end())
            it = metrics.emplace(size, QFontMetricsF(DiagramFont(size))).first;
        return TDiagramLayout::TPoint{it->second.horizontalAdvance(qtText(text)), 1.2 * size};
    };
}

QString BoxToolTip(const TDiagramSnapshot::TBox &box)
{
    // Rich text, so that a statement that looks like markup shows as typed.
    QString text = box.text.toHtmlEscaped();
    text.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    QString tip = QStringLiteral("<p>%1</p><p>%2, %3</p>")
                      .arg(text, qtText(StatementTypeName(box.type)),
                           qtText(JustificationStatusName(box.status)));
    if (!box.why.isEmpty())
        tip += QStringLiteral("<p>%1</p>").arg(box.why.toHtmlEscaped());
    return tip;
}

void DrawDiagram(QGraphicsScene &scene, const TDiagramSnapshot &snapshot,
                 const TDiagramLayout &layout)
{
    scene.clear();
    std::unordered_map<std::string, int> boxes;
    for (int box = 0; box < static_cast<int>(snapshot.boxes.size()); ++box)
        boxes.emplace(DotBoxName(box), box);
    std::unordered_map<std::string, int> steps;
    for (int step = 0; step < snapshot.steps; ++step)
        steps.emplace(DotStepName(step), step);

    // Lines first, so that boxes and step nodes are drawn over their ends.
    for (const TDiagramLayout::TEdge &edge : layout.edges) {
        QGraphicsPathItem *item = edgeItem(edge);
        // How DotText draws each kind of edge tells them apart.
        setKind(item, steps.contains(edge.tail) ? TDiagramItem::ConclusionLine
                      : edge.arrowhead == "tee" ? TDiagramItem::Attack
                      : edge.style == "dotted"  ? TDiagramItem::WarrantLink
                                                : TDiagramItem::ReasonLine);
        scene.addItem(item);
    }
    for (const TDiagramLayout::TNode &node : layout.nodes) {
        const QPointF centre = point(node.centre);
        if (const auto box = boxes.find(node.name); box != boxes.end()) {
            auto *item = new TBoxItem(snapshot.boxes[static_cast<std::size_t>(box->second)], node);
            item->setPos(centre);
            setKind(item, TDiagramItem::Box);
            scene.addItem(item);
        } else if (steps.contains(node.name)) {
            auto *item = scene.addEllipse(centre.x() - node.width / 2, centre.y() - node.height / 2,
                                          node.width, node.height, QPen(Qt::NoPen), Qt::black);
            item->setToolTip(QStringLiteral("Step from reason to conclusion"));
            setKind(item, TDiagramItem::Step);
        }
    }
    scene.setSceneRect(0, 0, layout.width + 2 * Margin, layout.height + 2 * Margin);
}

void DrawDiagram(QGraphicsScene &scene, const TDiagramSnapshot &snapshot)
{
    try {
        // On a thread of its own, as for the view, and waited for: what Graphviz's plugins keep
        // per thread then goes with that thread instead of staying with the window's.
        TDiagramLayout layout = std::async(std::launch::async, [&snapshot] {
                                    return LayoutDiagram(snapshot.dot, DiagramTextMeasure());
                                }).get();
        DrawDiagram(scene, snapshot, layout);
    } catch (const TLayoutError &error) {
        DrawDiagramFailure(scene, QString::fromUtf8(error.what()));
    }
}

void DrawDiagramFailure(QGraphicsScene &scene, const QString &message)
{
    scene.clear();
    QGraphicsSimpleTextItem *item = scene.addSimpleText(message, DiagramFont(12));
    scene.setSceneRect(item->boundingRect().adjusted(-Margin, -Margin, Margin, Margin));
}
