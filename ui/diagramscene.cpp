#include "ui/diagramscene.h"

#include "dialogue/aifextras.h"
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
#include <span>
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

    QRectF boundingRect() const override { return m_rect.adjusted(-2.5, -2.5, 2.5, 2.5); }

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
        // The keyboard's place in the diagram: a ring that no status border looks like.
        if (isSelected()) {
            painter->setPen(QPen(QColor(0x00, 0x5f, 0xd7), 2));
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(m_rect.adjusted(-1, -1, 1, 1), 7, 7);
        }
    }

private:
    TDiagramSnapshot::TBox m_box;
    QStringList m_lines;
    QRectF m_rect;
};

// The key in the place the layout made for its note: each row's sample drawn where the note's
// text gives it in words, then the row's words.
class TKeyItem : public QGraphicsItem {
public:
    explicit TKeyItem(const TDiagramLayout::TNode &node)
        : m_rect(-node.width / 2, -node.height / 2, node.width, node.height)
    {
        setToolTip(QStringLiteral("What the marks, borders and lines of the diagram mean"));
    }

    QRectF boundingRect() const override { return m_rect.adjusted(-1, -1, 1, 1); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(QColor(0x7f, 0x7f, 0x7f), 1));
        painter->setBrush(QColor(0xff, 0xff, 0xf0));
        painter->drawRect(m_rect.adjusted(0.5, 0.5, -0.5, -0.5));
        const std::span<const TKeyRow> rows = KeyRows();
        const double row = m_rect.height() / static_cast<double>(rows.size() + 1);
        const double left = m_rect.left() + 8;
        QFont font = DiagramFont(KeySize);
        font.setBold(true);
        painter->setFont(font);
        painter->setPen(Qt::black);
        painter->drawText(QRectF(left, m_rect.top(), m_rect.width() - 8, row),
                          Qt::AlignLeft | Qt::AlignVCenter, qtText(KeyTitle));
        font.setBold(false);
        painter->setFont(font);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const QRectF line(left, m_rect.top() + row * static_cast<double>(i + 1),
                              m_rect.width() - 8, row);
            drawSample(*painter, rows[i].sample, QRectF(line.left(), line.top(), SampleWidth, row));
            painter->setPen(Qt::black);
            painter->drawText(line.adjusted(SampleWidth + 4, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter, qtText(rows[i].words));
        }
    }

private:
    static constexpr double KeySize = 9;
    static constexpr double SampleWidth = 22;

    static void drawSample(QPainter &painter, TKeySample sample, const QRectF &room)
    {
        const QPointF middle = room.center();
        const auto line = [&](const QPen &pen) {
            painter.setPen(pen);
            painter.drawLine(QPointF(room.left(), middle.y()), QPointF(room.right(), middle.y()));
        };
        switch (sample) {
        case TKeySample::Justified:
        case TKeySample::Unjustified:
        case TKeySample::Undecided: {
            const auto status = static_cast<TJustificationStatus>(sample);
            const TStatusLook look = StatusLook(status);
            painter.setPen(QPen(lookColour(look.colour), 1.5, penStyle(look.border)));
            painter.setBrush(Qt::white);
            const QRectF box(room.left(), middle.y() - 5, room.width(), 10);
            painter.drawRoundedRect(box, 3, 3);
            painter.drawImage(QRectF(middle.x() - 4, middle.y() - 4, 8, 8),
                              nodeImage(status, TStatementType::Issue));
            break;
        }
        case TKeySample::Issue:
        case TKeySample::Assumption:
            painter.drawImage(QRectF(room.left() + 5, middle.y() - 6, 12, 12),
                              nodeImage(TJustificationStatus::Undecided,
                                        sample == TKeySample::Issue ? TStatementType::Issue
                                                                    : TStatementType::Assumption));
            break;
        case TKeySample::Attack: {
            const QColor red(0xff, 0, 0);
            line(QPen(red, 1.5));
            painter.setPen(QPen(red, 3));
            painter.drawLine(QPointF(room.right(), middle.y() - 5),
                             QPointF(room.right(), middle.y() + 5));
            break;
        }
        case TKeySample::StepWarrant:
            line(QPen(Qt::black, 1, Qt::DotLine));
            break;
        case TKeySample::ExceptionWarrant:
            line(QPen(Qt::black, 1, Qt::DashLine));
            break;
        }
    }

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
                                 const TExplanations *explanations, const TAifExtras *extras)
{
    const TStageGraph graph = StageGraph(stage);
    TDiagramSnapshot snapshot;
    snapshot.boxes.reserve(graph.Boxes.size());
    for (const TStatement *statement : graph.Boxes)
        snapshot.boxes.push_back(
            {qtText(statement->Text), statement->StatementType, statement->JustificationStatus,
             explanations ? qtText(explanations->Explain(*statement).Text) : QString()});
    snapshot.steps = static_cast<int>(graph.Steps.size());
    const auto scheme = [&](int step, const TStatement *exception) {
        if (!extras)
            return QString();
        const TStageGraph::TStep &each = graph.Steps[static_cast<std::size_t>(step)];
        return qtText(SchemeName(*extras, graph.Boxes[static_cast<std::size_t>(each.reason)]->Text,
                                 graph.Boxes[static_cast<std::size_t>(each.conclusion)]->Text,
                                 exception ? exception->Text : std::string()));
    };
    for (int step = 0; step < snapshot.steps; ++step) {
        const TStageGraph::TStep &each = graph.Steps[static_cast<std::size_t>(step)];
        snapshot.stepBoxes.emplace_back(each.reason, each.conclusion);
        snapshot.stepSchemes.push_back(scheme(step, nullptr));
    }
    for (const TStageGraph::TAttack &attack : graph.Attacks) {
        snapshot.attackEnds.emplace_back(attack.exception, attack.step);
        snapshot.attackSchemes.push_back(scheme(attack.step, attack.object));
    }
    // What each node stands for, in words that stay the same from stage to stage.
    const auto boxKey = [&](int box) { return graph.Boxes[static_cast<std::size_t>(box)]->Text; };
    const auto stepKey = [&](int step) {
        const TStageGraph::TStep &each = graph.Steps[static_cast<std::size_t>(step)];
        return boxKey(each.reason) + '\0' + boxKey(each.conclusion);
    };
    for (int box = 0; box < static_cast<int>(graph.Boxes.size()); ++box)
        snapshot.placeKeys.emplace(DotBoxName(box), "box " + boxKey(box));
    for (int step = 0; step < snapshot.steps; ++step)
        snapshot.placeKeys.emplace(DotStepName(step), "step " + stepKey(step));
    for (int attack = 0; attack < static_cast<int>(graph.Attacks.size()); ++attack) {
        const TStageGraph::TAttack &each = graph.Attacks[static_cast<std::size_t>(attack)];
        snapshot.placeKeys.emplace(DotAttackName(attack),
                                   "attack " + boxKey(each.exception) + '\0' + stepKey(each.step));
    }
    snapshot.placeKeys.emplace(std::string(DotKeyName), std::string(DotKeyName));
    snapshot.dot = DotText(graph);
    return snapshot;
}

TKeptLayout KeptLayout(const TDiagramSnapshot &earlier, const TDiagramLayout &layout,
                       const TDiagramSnapshot &later)
{
    std::map<std::string_view, std::string_view> names; // Key -> the later snapshot's name.
    for (const auto &[name, key] : later.placeKeys)
        names.emplace(key, name);
    const auto laterName = [&](const std::string &name) -> const std::string_view * {
        const auto key = earlier.placeKeys.find(name);
        if (key == earlier.placeKeys.end())
            return nullptr;
        const auto found = names.find(key->second);
        return found == names.end() ? nullptr : &found->second;
    };
    TKeptLayout kept;
    for (const TDiagramLayout::TNode &node : layout.nodes)
        if (const std::string_view *name = laterName(node.name))
            kept.nodes.emplace(std::string(*name), node.centre);
    for (const TDiagramLayout::TEdge &edge : layout.edges) {
        const std::string_view *tail = laterName(edge.tail);
        const std::string_view *head = laterName(edge.head);
        if (tail && head) {
            TDiagramLayout::TEdge &same = kept.edges.emplace_back(edge);
            same.tail = *tail;
            same.head = *head;
        }
    }
    return kept;
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

QString StepToolTip(const TDiagramSnapshot &snapshot, int step)
{
    const QString &scheme = snapshot.stepSchemes.at(static_cast<std::size_t>(step));
    return scheme.isEmpty() ? QStringLiteral("Step from reason to conclusion")
                            : QStringLiteral("Step from reason to conclusion\nScheme: %1").arg(scheme);
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
    std::unordered_map<std::string, int> attacks;
    for (int attack = 0; attack < static_cast<int>(snapshot.attackSchemes.size()); ++attack)
        attacks.emplace(DotAttackName(attack), attack);
    // The points on exceptions' lines are the only nodes named so.
    const auto onExceptionLine = [](const std::string &name) {
        return !name.empty() && name.front() == DotAttackName(0).front();
    };

    // Lines first, so that boxes and step nodes are drawn over their ends.
    for (const TDiagramLayout::TEdge &edge : layout.edges) {
        QGraphicsPathItem *item = edgeItem(edge);
        // How DotText draws each kind of edge tells them apart.
        setKind(item, steps.contains(edge.tail)      ? TDiagramItem::ConclusionLine
                      : edge.arrowhead == "tee"      ? TDiagramItem::Attack
                      : !edge.style.empty()          ? TDiagramItem::WarrantLink
                      : onExceptionLine(edge.head)   ? TDiagramItem::ExceptionLine
                                                     : TDiagramItem::ReasonLine);
        // An exception's line, both halves, names the scheme of the conflict it came from.
        const std::string &point = onExceptionLine(edge.head) ? edge.head : edge.tail;
        if (const auto attack = attacks.find(point); attack != attacks.end()
            && item->data(DiagramItemKind).toInt() != static_cast<int>(TDiagramItem::WarrantLink)) {
            const QString &scheme = snapshot.attackSchemes.at(static_cast<std::size_t>(attack->second));
            if (!scheme.isEmpty())
                item->setToolTip(QStringLiteral("Exception\nScheme: %1").arg(scheme));
        }
        scene.addItem(item);
    }
    for (const TDiagramLayout::TNode &node : layout.nodes) {
        const QPointF centre = point(node.centre);
        if (const auto box = boxes.find(node.name); box != boxes.end()) {
            auto *item = new TBoxItem(snapshot.boxes[static_cast<std::size_t>(box->second)], node);
            item->setPos(centre);
            setKind(item, TDiagramItem::Box);
            item->setData(DiagramItemIndex, box->second);
            item->setFlag(QGraphicsItem::ItemIsSelectable);
            scene.addItem(item);
        } else if (const auto step = steps.find(node.name); step != steps.end()) {
            auto *item = scene.addEllipse(centre.x() - node.width / 2, centre.y() - node.height / 2,
                                          node.width, node.height, QPen(Qt::NoPen), Qt::black);
            item->setToolTip(StepToolTip(snapshot, step->second));
            setKind(item, TDiagramItem::Step);
            item->setData(DiagramItemIndex, step->second);
            item->setFlag(QGraphicsItem::ItemIsSelectable);
            // Selected, Qt rings it with a dashed frame: the keyboard's place.
        } else if (node.name == DotKeyName) {
            auto *item = new TKeyItem(node);
            item->setPos(centre);
            setKind(item, TDiagramItem::Key);
            scene.addItem(item);
        }
    }
    scene.setSceneRect(layout.left, layout.top, layout.width + 2 * Margin, layout.height + 2 * Margin);
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

void ShowDiagramKey(QGraphicsScene &scene, bool shown)
{
    for (QGraphicsItem *item : scene.items()) {
        if (item->data(DiagramItemKind).toInt() == static_cast<int>(TDiagramItem::Key))
            item->setVisible(shown);
    }
}

void DrawDiagramFailure(QGraphicsScene &scene, const QString &message)
{
    scene.clear();
    QGraphicsSimpleTextItem *item = scene.addSimpleText(message, DiagramFont(12));
    scene.setSceneRect(item->boundingRect().adjusted(-Margin, -Margin, Margin, Margin));
}
