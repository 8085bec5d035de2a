#include "argumentforest.h"

TForestNode *TArgumentForest::NewNode(TStatement *conclusion, TTextId text, int step)
{
    TForestNode &node = m_nodes.emplace_back();
    node.Conclusion = conclusion;
    node.Text = text;
    node.Step = step;
    return &node;
}
