#pragma once

#include "model/statement.h"

#include <string_view>
#include <vector>

class TArgumentationStage;

// A stage as a graph, the one description that the diagram, the DOT text and the exchange
// formats draw from: every statement once as a box, every step as a node of its own between
// its reason's and its conclusion's boxes, every exception as an attack from its box on the
// step it blocks, and every warrant sentence that is a statement linked to the step it is about.
struct TStageGraph {
    struct TStep {
        int reason;     // Boxes.
        int conclusion;
        const TReasonConclusion *step;
    };
    struct TAttack {
        int exception; // Box.
        int step;      // Steps.
        const TStatement *object; // The exception as the step lists it (its own type).
    };
    struct TWarrantLink {
        int warrant; // Box.
        int step;    // Steps.
        bool exceptionWarrant;
        int attack = -1; // Attacks: the exception's, for an exception warrant.
    };

    std::vector<const TStatement *> Boxes; // In the stage's order.
    std::vector<TStep> Steps;              // In the stage's order.
    std::vector<TAttack> Attacks;          // Step by step, each step's exceptions in order.
    std::vector<TWarrantLink> WarrantLinks; // Step by step; the step warrant first.
};

TStageGraph StageGraph(const TArgumentationStage &stage);

// How a status shows in a picture, in colour and in black and white alike: the colour of its
// icon, a border style, and the mark the text report uses.
struct TStatusLook {
    std::string_view colour; // "#rrggbb"
    std::string_view border; // A Graphviz style: "solid", "dashed" or "dotted".
    std::string_view mark;   // "[+]", "[-]" or "[?]"
};
TStatusLook StatusLook(TJustificationStatus status);
