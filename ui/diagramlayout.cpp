#include "ui/diagramlayout.h"

#include <graphviz/gvc.h>
#include <graphviz/gvplugin.h>
#include <graphviz/gvplugin_textlayout.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <tuple>
#include <utility>

namespace {

// Graphviz's parser, error reporting and layout engines keep global state: one layout at a time,
// and the callbacks below read what the running layout set.
std::mutex layoutMutex;
const TTextMeasure *currentMeasure = nullptr;
std::string currentErrors;

int collectError(char *message)
{
    currentErrors += message;
    return 0;
}

// Text sizes as the picture's font gives them, where Graphviz would guess from a table.
boolean measureSpan(textspan_t *span, char **fontpath)
{
    if (fontpath)
        *fontpath = nullptr;
    if (!currentMeasure || !*currentMeasure)
        return FALSE;
    try {
        const double size = span->font ? span->font->size : 14.0;
        const TDiagramLayout::TPoint measured =
            (*currentMeasure)(span->str ? span->str : "",
                              span->font && span->font->name ? span->font->name : "", size);
        span->size.x = measured.x;
        span->size.y = measured.y;
        span->yoffset_layout = 0;
        span->yoffset_centerline = 0.1 * size;
        span->layout = nullptr;
        span->free_layout = nullptr;
        return TRUE;
    } catch (...) {
        return FALSE; // Graphviz is C: nothing may be thrown through it.
    }
}

gvtextlayout_engine_t measureEngine = {measureSpan};
// Ahead of every text layout plugin installed on the system (those rank 10 and below).
gvplugin_installed_t measureTypes[] = {{0, "textlayout", 100, &measureEngine, nullptr},
                                       {0, nullptr, 0, nullptr, nullptr}};
gvplugin_api_t measureApis[] = {{API_textlayout, measureTypes}, {static_cast<api_t>(0), nullptr}};
char measurePackage[] = "korvane";
gvplugin_library_t measureLibrary = {measurePackage, measureApis};

// Built in, so that Graphviz has it when it picks its text layout while it starts; the layout
// engines it finds through its own configuration.
lt_symlist_t builtins[] = {{"gvplugin_korvane_LTX_library", &measureLibrary}, {nullptr, nullptr}};

// Made once and kept: reading the plugin configuration costs more than many small layouts.
GVC_t *context()
{
    static GVC_t *made = gvContextPlugins(builtins, 1);
    return made;
}

std::string attribute(Agedge_t *edge, const char *name)
{
    const char *value = agget(edge, const_cast<char *>(name));
    return value ? value : "";
}

std::string failure(const char *what)
{
    std::string message = what;
    if (!currentErrors.empty()) {
        std::string errors = currentErrors;
        while (!errors.empty() && (errors.back() == '\n' || errors.back() == '.'))
            errors.pop_back();
        message += ": " + errors;
    }
    return message;
}

// Reads a laid-out graph back, in points from the top left of its bounds, y growing downwards.
TDiagramLayout readLayout(Agraph_t *graph)
{
    const boxf bounds = GD_bb(graph);
    const auto place = [&](pointf at) {
        return TDiagramLayout::TPoint{at.x - bounds.LL.x, bounds.UR.y - at.y};
    };
    TDiagramLayout layout;
    layout.width = bounds.UR.x - bounds.LL.x;
    layout.height = bounds.UR.y - bounds.LL.y;
    for (Agnode_t *node = agfstnode(graph); node; node = agnxtnode(graph, node)) {
        TDiagramLayout::TNode &placed =
            layout.nodes.emplace_back(TDiagramLayout::TNode{agnameof(node),
                                                            place(ND_coord(node)),
                                                            ND_width(node) * 72.0,
                                                            ND_height(node) * 72.0,
                                                            {}});
        if (const textlabel_t *label = ND_label(node); label && !label->html) {
            for (int i = 0; i < label->u.txt.nspans; ++i) {
                const char *line = label->u.txt.span[i].str;
                placed.lines.emplace_back(line ? line : "");
            }
        }
        for (Agedge_t *edge = agfstout(graph, node); edge; edge = agnxtout(graph, edge)) {
            // Invisible edges only shape the layout (they stack statements joined to nothing).
            if (attribute(edge, "style") == "invis")
                continue;
            TDiagramLayout::TEdge each{agnameof(agtail(edge)),
                                       agnameof(aghead(edge)),
                                       attribute(edge, "style"),
                                       attribute(edge, "arrowhead"),
                                       attribute(edge, "color"),
                                       attribute(edge, "penwidth"),
                                       {},
                                       false,
                                       {}};
            // The dot engine draws each edge as one spline.
            if (const splines *spline = ED_spl(edge); spline && spline->size > 0) {
                const bezier &curve = spline->list[0];
                for (int i = 0; i < curve.size; ++i)
                    each.points.push_back(place(curve.list[i]));
                if (curve.eflag) {
                    each.hasArrow = true;
                    each.arrowTip = place(curve.ep);
                }
            }
            layout.edges.push_back(std::move(each));
        }
    }
    return layout;
}

using TPoint = TDiagramLayout::TPoint;

// Room left between a box put beside others and its neighbours, in points.
constexpr double Gap = 18;

// The places of every node of the fresh layout: kept ones where they were, each other one at
// its offset in the fresh layout from a neighbour placed already (or, with none, from where the
// kept ones moved on average), moved right until it overlaps no node placed before it.
TNodePlaces placeNodes(const TDiagramLayout &fresh, const TNodePlaces &kept)
{
    std::map<std::string, const TDiagramLayout::TNode *> nodes;
    for (const TDiagramLayout::TNode &node : fresh.nodes)
        nodes.emplace(node.name, &node);
    std::map<std::string, std::vector<std::string>> neighbours;
    for (const TDiagramLayout::TEdge &edge : fresh.edges) {
        neighbours[edge.tail].push_back(edge.head);
        neighbours[edge.head].push_back(edge.tail);
    }
    TNodePlaces placed;
    std::vector<const TDiagramLayout::TNode *> order; // Placed, in the order they were.
    TPoint shift;
    int keptCount = 0;
    std::vector<const TDiagramLayout::TNode *> waiting;
    for (const TDiagramLayout::TNode &node : fresh.nodes) {
        if (const auto at = kept.find(node.name); at != kept.end()) {
            placed.emplace(node.name, at->second);
            order.push_back(&node);
            shift.x += at->second.x - node.centre.x;
            shift.y += at->second.y - node.centre.y;
            ++keptCount;
        } else {
            waiting.push_back(&node);
        }
    }
    if (keptCount > 0) {
        shift.x /= keptCount;
        shift.y /= keptCount;
    }
    const auto clear = [&](const TDiagramLayout::TNode &node, TPoint at) {
        for (bool moved = true; moved;) {
            moved = false;
            for (const TDiagramLayout::TNode *other : order) {
                const TPoint there = placed.at(other->name);
                const bool overlaps =
                    std::abs(at.x - there.x) < (node.width + other->width) / 2 + Gap / 2
                    && std::abs(at.y - there.y) < (node.height + other->height) / 2 + Gap / 2;
                if (overlaps) {
                    at.x = there.x + (node.width + other->width) / 2 + Gap;
                    moved = true;
                }
            }
        }
        placed.emplace(node.name, at);
        order.push_back(&node);
    };
    while (!waiting.empty()) {
        std::vector<const TDiagramLayout::TNode *> still;
        for (const TDiagramLayout::TNode *node : waiting) {
            const auto &around = neighbours[node->name];
            const auto anchor = std::find_if(around.begin(), around.end(), [&](const std::string &name) {
                return placed.contains(name);
            });
            if (anchor == around.end()) {
                still.push_back(node);
                continue;
            }
            const TPoint from = placed.at(*anchor);
            const TDiagramLayout::TNode &other = *nodes.at(*anchor);
            clear(*node, {from.x + node->centre.x - other.centre.x,
                          from.y + node->centre.y - other.centre.y});
        }
        if (still.size() == waiting.size()) {
            // Joined to nothing placed: where the fresh layout puts it, moved as the rest moved.
            const TDiagramLayout::TNode &first = *still.front();
            clear(first, {first.centre.x + shift.x, first.centre.y + shift.y});
            still.erase(still.begin());
        }
        waiting = std::move(still);
    }
    return placed;
}

// Where the line from a node's centre towards a point leaves the node's box.
TPoint border(const TDiagramLayout::TNode &node, TPoint towards)
{
    const double dx = towards.x - node.centre.x;
    const double dy = towards.y - node.centre.y;
    if (dx == 0 && dy == 0)
        return node.centre;
    const double t = std::min(dx == 0 ? HUGE_VAL : node.width / 2 / std::abs(dx),
                              dy == 0 ? HUGE_VAL : node.height / 2 / std::abs(dy));
    return {node.centre.x + std::min(t, 1.0) * dx, node.centre.y + std::min(t, 1.0) * dy};
}

// The length Graphviz leaves between a line's end and its head for the arrowhead, in points.
constexpr double ArrowLength = 10;

// The edge as one straight segment between the borders of its two nodes, shortened by its
// arrowhead where it has one.
void drawStraight(TDiagramLayout::TEdge &edge, const TDiagramLayout::TNode &tail,
                  const TDiagramLayout::TNode &head)
{
    const TPoint from = border(tail, head.centre);
    TPoint to = border(head, tail.centre);
    if (edge.hasArrow) {
        edge.arrowTip = to;
        const double length = std::hypot(to.x - from.x, to.y - from.y);
        const double keep = length > ArrowLength ? (length - ArrowLength) / length : 0;
        to = {from.x + keep * (to.x - from.x), from.y + keep * (to.y - from.y)};
    }
    edge.points.clear();
    for (int i = 0; i <= 3; ++i)
        edge.points.push_back({from.x + i * (to.x - from.x) / 3, from.y + i * (to.y - from.y) / 3});
}

} // namespace

TDiagramLayout LayoutDiagram(const std::string &dot, const TTextMeasure &measure)
{
    const std::lock_guard lock(layoutMutex);
    currentErrors.clear();
    currentMeasure = &measure;
    agseterr(AGERR);
    agseterrf(collectError);
    GVC_t *gvc = context();

    struct TGraph {
        GVC_t *gvc;
        Agraph_t *graph = nullptr;
        bool laidOut = false;
        ~TGraph()
        {
            if (laidOut)
                gvFreeLayout(gvc, graph);
            if (graph)
                agclose(graph);
            currentMeasure = nullptr;
        }
    } owned{gvc};
    owned.graph = agmemread(dot.c_str());
    if (!owned.graph)
        throw TLayoutError(failure("the diagram cannot be read"));
    if (gvLayout(gvc, owned.graph, "dot") != 0)
        throw TLayoutError(failure("the diagram cannot be laid out"));
    owned.laidOut = true;
    return readLayout(owned.graph);
}

TDiagramLayout LayoutDiagramKeeping(const std::string &dot, const TTextMeasure &measure,
                                    const TKeptLayout &kept)
{
    TDiagramLayout laid = LayoutDiagram(dot, measure);
    if (kept.nodes.empty() || laid.nodes.empty())
        return laid;
    const TNodePlaces places = placeNodes(laid, kept.nodes);
    std::map<std::string_view, const TDiagramLayout::TNode *> nodes;
    for (TDiagramLayout::TNode &node : laid.nodes) {
        node.centre = places.at(node.name);
        nodes.emplace(node.name, &node);
    }
    using TEdgeKey = std::tuple<std::string_view, std::string_view, std::string_view>;
    std::map<TEdgeKey, const TDiagramLayout::TEdge *> routes;
    for (const TDiagramLayout::TEdge &edge : kept.edges)
        routes.emplace(TEdgeKey(edge.tail, edge.head, edge.style), &edge);
    for (TDiagramLayout::TEdge &edge : laid.edges) {
        if (const auto route = routes.find(TEdgeKey(edge.tail, edge.head, edge.style));
            route != routes.end()) {
            edge.points = route->second->points;
            edge.hasArrow = route->second->hasArrow;
            edge.arrowTip = route->second->arrowTip;
        } else {
            drawStraight(edge, *nodes.at(edge.tail), *nodes.at(edge.head));
        }
    }
    // The extent of what is drawn, in the kept layout's coordinates.
    TPoint least{places.begin()->second};
    TPoint most = least;
    const auto cover = [&](TPoint at) {
        least = {std::min(least.x, at.x), std::min(least.y, at.y)};
        most = {std::max(most.x, at.x), std::max(most.y, at.y)};
    };
    for (const TDiagramLayout::TNode &node : laid.nodes) {
        cover({node.centre.x - node.width / 2, node.centre.y - node.height / 2});
        cover({node.centre.x + node.width / 2, node.centre.y + node.height / 2});
    }
    for (const TDiagramLayout::TEdge &edge : laid.edges)
        for (const TPoint &at : edge.points)
            cover(at);
    laid.left = least.x;
    laid.top = least.y;
    laid.width = most.x - least.x;
    laid.height = most.y - least.y;
    return laid;
}
