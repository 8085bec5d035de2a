#include "stagegraph.h"

#include "model/argumentationstage.h"

#include <string>
#include <unordered_map>

TStageGraph StageGraph(const TArgumentationStage &stage)
{
    TStageGraph graph;
    std::unordered_map<std::string_view, int> boxOf;
    const auto box = [&](const TStatement *statement) {
        const auto [it, added] = boxOf.try_emplace(statement->Text, static_cast<int>(graph.Boxes.size()));
        if (added)
            graph.Boxes.push_back(statement);
        return it->second;
    };
    for (const TStatement *statement : stage.Statements)
        box(statement);
    // A step's statements and exceptions are statements of the stage; box() only guards the
    // picture against a stage built otherwise.
    for (const TReasonConclusion *step : stage.ReasonConclusions)
        graph.Steps.push_back({box(step->Reason), box(step->Conclusion), step});
    const auto linkWarrant = [&](const std::string &sentence, int step, int attack) {
        if (const auto it = boxOf.find(sentence); it != boxOf.end())
            graph.WarrantLinks.push_back({it->second, step, attack >= 0, attack});
    };
    for (int index = 0; index < static_cast<int>(graph.Steps.size()); ++index) {
        const TReasonConclusion &step = *graph.Steps[static_cast<std::size_t>(index)].step;
        const auto firstAttack = static_cast<int>(graph.Attacks.size());
        for (const TStatement *exception : step.Exceptions)
            graph.Attacks.push_back({box(exception), index, exception});
        linkWarrant(StepWarrant(step.Reason->Text, step.Conclusion->Text), index, -1);
        int attack = firstAttack;
        for (const TStatement *exception : step.Exceptions)
            linkWarrant(ExceptionWarrant(exception->Text, step.Reason->Text, step.Conclusion->Text),
                        index, attack++);
    }
    return graph;
}

TStatusLook StatusLook(TJustificationStatus status)
{
    switch (status) {
    case TJustificationStatus::Justified:
        return {"#007f00", "solid", "[+]"};
    case TJustificationStatus::Unjustified:
        return {"#ff0000", "dashed", "[-]"};
    case TJustificationStatus::Undecided:
        break;
    }
    return {"#7f7f7f", "dotted", "[?]"};
}
