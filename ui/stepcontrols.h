#pragma once

#include "dialogue/movereader.h"

#include <QWidget>

#include <vector>

class QLabel;
class TArena;
class TMoveComboBox;
class TReasonConclusion;
class TTypeRadioGroup;

// The conclusion and the reason of a step, each a box with its type group, conclusion first: the
// part that the reason/conclusion and the exception dialogs share.
class TStepControls : public QWidget {
    Q_OBJECT

public:
    // The labels' object names differ between the two dialogs; gap is the space between the
    // conclusion's group and the reason's label.
    TStepControls(const char *conclusionLabelName, const char *reasonLabelName, int gap,
                  QWidget *parent);

    // Placeholders, default types (conclusion Issue, reason Assumption) and the statements'
    // texts as entries.
    void reset(const std::vector<TSentenceText> &statements);

    TSentenceText reason() const;
    TSentenceText conclusion() const;
    // The step as the boxes give it, new from the arena: for a reason/conclusion move, or
    // carrying the exception for an exception move.
    TReasonConclusion *newStep(TArena &arena) const;
    TReasonConclusion *newBlockedStep(TArena &arena, const TSentenceText &exception) const;

    TMoveComboBox *conclusionBox() const { return m_conclusionComboBox; }
    TTypeRadioGroup *conclusionTypes() const { return m_conclusionTypeRadioGroup; }
    TMoveComboBox *reasonBox() const { return m_reasonComboBox; }
    TTypeRadioGroup *reasonTypes() const { return m_reasonTypeRadioGroup; }

private:
    QLabel *m_conclusionLabel = nullptr;
    TMoveComboBox *m_conclusionComboBox = nullptr;
    TTypeRadioGroup *m_conclusionTypeRadioGroup = nullptr;
    QLabel *m_reasonLabel = nullptr;
    TMoveComboBox *m_reasonComboBox = nullptr;
    TTypeRadioGroup *m_reasonTypeRadioGroup = nullptr;
};
