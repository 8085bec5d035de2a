#pragma once

// Makes moves on a stage as the line of argumentation would, and reads the results back by text.

#include "model/arena.h"
#include "model/argumentationstage.h"
#include "trees.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

constexpr TStatementType Issue = TStatementType::Issue;
constexpr TStatementType Assumption = TStatementType::Assumption;

// Public, so that tables of cases can build stages from plain functions.
class StageTest : public testing::Test {
public:
    TStatement *NewStatement(const std::string &text, TStatementType type)
    {
        TStatement *statement = arena.NewStatement();
        statement->Text = text;
        statement->StatementType = type;
        return statement;
    }

    TReasonConclusion *NewStep(const std::string &reason, TStatementType reasonType,
                               const std::string &conclusion, TStatementType conclusionType)
    {
        TReasonConclusion *step = arena.NewReasonConclusion();
        step->Reason->Text = reason;
        step->Reason->StatementType = reasonType;
        step->Conclusion->Text = conclusion;
        step->Conclusion->StatementType = conclusionType;
        return step;
    }

    TStatement *Say(const std::string &text, TStatementType type)
    {
        TStatement *statement = NewStatement(text, type);
        stage = stage->DoStatementMove(statement);
        return statement;
    }

    TReasonConclusion *Argue(const std::string &reason, TStatementType reasonType,
                             const std::string &conclusion, TStatementType conclusionType)
    {
        TReasonConclusion *step = NewStep(reason, reasonType, conclusion, conclusionType);
        stage = stage->DoReasonConclusionMove(step);
        return step;
    }

    TReasonConclusion *Except(const std::string &exception, TStatementType exceptionType,
                              const std::string &reason, TStatementType reasonType,
                              const std::string &conclusion, TStatementType conclusionType)
    {
        TReasonConclusion *step = NewStep(reason, reasonType, conclusion, conclusionType);
        step->Exceptions.Add(NewStatement(exception, exceptionType));
        stage = stage->DoExceptionMove(step);
        return step;
    }

    // The stage's statement with the text; fails the test when there is none.
    TStatement &Held(const std::string &text) const
    {
        for (TStatement *statement : stage->Statements) {
            if (statement->Text == text)
                return *statement;
        }
        ADD_FAILURE() << "no statement " << text;
        static TStatement none;
        return none;
    }

    TJustificationStatus Status(const std::string &text) const
    {
        return Held(text).JustificationStatus;
    }

    std::vector<std::string> Roots() const
    {
        std::vector<std::string> roots;
        for (const TArgument *root : stage->Arguments)
            roots.push_back(trees::Show(*root));
        return roots;
    }

    std::vector<std::string> Ids() const
    {
        std::vector<std::string> ids;
        for (const TStatement *statement : stage->Statements)
            ids.push_back(statement->Text + "=" + statement->Id);
        return ids;
    }

    TArena arena;
    TArgumentationStage *stage = arena.NewStage();
};
