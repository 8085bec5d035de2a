#pragma once

#include "model/arena.h"
#include "model/argumentationstage.h"

#include <string>
#include <vector>

// A map as imported ones are: n statements in arguments of one conclusion and up to a dozen
// reasons, a fifth of the reasons with reasons of their own, and every tenth statement joined
// to nothing. Laid out plainly, its arguments stand side by side in one row, many times as wide
// as high.
inline TArgumentationStage &WideMap(TArena &arena, int n)
{
    TArgumentationStage &stage = *arena.NewStage();
    std::vector<TStatement *> statements;
    for (int i = 0; i < n; ++i) {
        TStatement *statement = arena.NewStatement();
        statement->Text = "claim or premise number " + std::to_string(i);
        statement->JustificationStatus = static_cast<TJustificationStatus>(i % 3);
        stage.Statements.Add(statement);
        statements.push_back(statement);
    }
    int conclusion = 0;
    for (int i = 1; i < n; ++i) {
        if (i % 10 == 0)
            continue;
        if (i % 13 == 0) {
            conclusion = i;
            continue;
        }
        TReasonConclusion *made = arena.NewReasonConclusion();
        made->Reason = statements[static_cast<std::size_t>(i)];
        made->Conclusion = statements[static_cast<std::size_t>(i % 5 == 0 ? i - 1 : conclusion)];
        stage.ReasonConclusions.Add(made);
    }
    return stage;
}
