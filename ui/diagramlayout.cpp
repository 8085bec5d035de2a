#include "ui/diagramlayout.h"

#include <graphviz/gvc.h>
#include <graphviz/gvplugin.h>
#include <graphviz/gvplugin_textlayout.h>

#include <mutex>

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

    Agraph_t *graph = owned.graph;
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
