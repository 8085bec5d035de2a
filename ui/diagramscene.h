#pragma once

#include "model/statement.h"
#include "ui/diagramlayout.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QGraphicsScene;
class TArgumentationStage;
class TExplanations;
struct TAifExtras;

// What the diagram shows of a stage, copied when the diagram is asked for, so that the layout
// can run on another thread and a hidden diagram keeps what it showed: the stage graph's boxes
// and its DOT text, the one description the picture and the DOT export share.
struct TDiagramSnapshot {
    struct TBox {
        QString text;
        TStatementType type = TStatementType::Issue;
        TJustificationStatus status = TJustificationStatus::Undecided;
        QString why; // Why the statement has its status, when explained.
    };
    std::vector<TBox> boxes; // In the stage graph's order, named by DotBoxName.
    int steps = 0;           // Named by DotStepName.
    std::vector<std::pair<int, int>> stepBoxes; // Each step's reason and conclusion box.
    // The scheme an opened file named for each step and each attack, empty where none.
    std::vector<QString> stepSchemes;
    std::vector<QString> attackSchemes;
    std::vector<std::pair<int, int>> attackEnds; // Each attack's exception box and step.
    // For each node of the DOT text, what it stands for in terms that stay the same from stage
    // to stage (a box's text, a step's two texts, ...), so that a later diagram can keep places.
    std::map<std::string, std::string> placeKeys;
    std::string dot;
};

// What the earlier layout shows of the later snapshot's boxes, steps and attacks (places and
// the lines between them), under the names the later snapshot gives them.
TKeptLayout KeptLayout(const TDiagramSnapshot &earlier, const TDiagramLayout &layout,
                       const TDiagramSnapshot &later);

TDiagramSnapshot DiagramSnapshot(const TArgumentationStage &stage,
                                 const TExplanations *explanations = nullptr,
                                 const TAifExtras *extras = nullptr);

// What each item of a drawn diagram stands for, under DiagramItemKind in its data.
enum class TDiagramItem : std::uint8_t {
    Box = 1,
    Step = 2,
    ReasonLine = 3,     // From a reason's box to its step.
    ConclusionLine = 4, // From a step to its conclusion's box.
    Attack = 5,         // From an exception's box to the step it blocks.
    WarrantLink = 6,    // From a warrant statement's box to the step or exception line it is about.
    ExceptionLine = 7,  // From an exception's box to the point where its warrant's link ends.
    Key = 8,            // The legend: what the marks, borders and lines mean.
};
constexpr int DiagramItemKind = 0;
// A box's or a step's index in the snapshot, under DiagramItemIndex.
constexpr int DiagramItemIndex = 1;

// The font the layout measures labels in and the picture draws them with: sized in points of
// the layout, which are the picture's units.
QFont DiagramFont(double size);
TTextMeasure DiagramTextMeasure();

// The text a box's tooltip gives: the statement's text, type and status.
QString BoxToolTip(const TDiagramSnapshot::TBox &box);
// What a step's dot says of it, with the scheme its file named.
QString StepToolTip(const TDiagramSnapshot &snapshot, int step);

// Replaces the scene's items by the diagram drawn at the layout's places.
void DrawDiagram(QGraphicsScene &scene, const TDiagramSnapshot &snapshot,
                 const TDiagramLayout &layout);
// Lays the snapshot out on this thread and draws it; a failed layout draws its message instead.
void DrawDiagram(QGraphicsScene &scene, const TDiagramSnapshot &snapshot);
void DrawDiagramFailure(QGraphicsScene &scene, const QString &message);
// Shows or hides the drawn diagram's key; a picture for a file always carries it.
void ShowDiagramKey(QGraphicsScene &scene, bool shown);
