#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Where Graphviz's layered layout puts the nodes and edges of a DOT graph, in points with the
// origin at the top left and y growing downwards, as a picture is drawn.
struct TDiagramLayout {
    struct TPoint {
        double x = 0;
        double y = 0;
    };
    struct TNode {
        std::string name;
        TPoint centre;
        double width = 0;
        double height = 0;
        std::vector<std::string> lines; // The label's lines, as the layout broke them.
    };
    struct TEdge {
        std::string tail; // Node names.
        std::string head;
        // The edge's drawing attributes as the DOT text gives them ("" when it gives none).
        std::string style;
        std::string arrowhead;
        std::string colour;
        std::string penwidth;
        // One cubic B-spline: the start and then three points per segment.
        std::vector<TPoint> points;
        // Where the arrowhead ends, when the spline stops short of the head to make room for it.
        bool hasArrow = false;
        TPoint arrowTip;
    };

    // The picture's extent: from (left, top), which a fresh layout puts at the origin.
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    std::vector<TNode> nodes; // In the DOT text's order.
    std::vector<TEdge> edges;
};

// A DOT text the layout cannot read or place.
class TLayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The width and height, in points, of one line of label text (UTF-8) in the named font at the
// given size; how the picture will draw it, so that every label fits its node.
using TTextMeasure = std::function<TDiagramLayout::TPoint(std::string_view text,
                                                          std::string_view fontName, double size)>;

// Lays out the graph with the "dot" engine. Without a measure Graphviz estimates text widths
// itself. Safe to call from any thread: layouts run one at a time, since Graphviz keeps global
// state. Throws TLayoutError when the text is no graph Graphviz can lay out.
TDiagramLayout LayoutDiagram(const std::string &dot, const TTextMeasure &measure = {});

// Places by node name, in a layout's coordinates.
using TNodePlaces = std::map<std::string, TDiagramLayout::TPoint>;

// What an earlier layout shows of a later graph: the places of its nodes and the edges between
// them, under the later graph's names.
struct TKeptLayout {
    TNodePlaces nodes;
    std::vector<TDiagramLayout::TEdge> edges;
};

// Lays the graph out as LayoutDiagram does, except that what kept shows stays as it is, so that
// a picture does not jump when the graph grows: its nodes keep their places and the lines
// between them their routes. Each other node goes where the fresh layout puts it beside a
// neighbour that has its place already, moved sideways clear of the boxes placed before it; a
// line to a node placed so is drawn straight.
TDiagramLayout LayoutDiagramKeeping(const std::string &dot, const TTextMeasure &measure,
                                    const TKeptLayout &kept);
