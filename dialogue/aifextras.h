#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct TStageGraph;

// What an AIF file holds that a stage cannot: nodes of other kinds (L, YA, TA, MA, ...) with
// their edges, the locutions, and the file's own I-, RA- and CA-node objects (scheme names,
// schemeID, timestamps). Kept beside the line after an import so that the AIF export writes them
// back; JSON is kept as compact text, so that the layers above need no JSON library.
struct TAifExtras {
    // What an I-, RA- or CA-node of the file became: its text for an I-node; for an RA-node the
    // reason and conclusion of each step it made; for a CA-node also the exception.
    struct TPart {
        std::string reason;
        std::string conclusion;
        std::string exception; // Empty for a step.
        bool operator<(const TPart &other) const;
    };
    struct TNode {
        std::string id;
        std::string json; // The node object as the file gave it.
    };
    struct TEdge {
        std::string from;
        std::string to;
        std::string json;
    };

    std::vector<TNode> nodes;           // Of the kinds a stage cannot hold, in the file's order.
    std::vector<TEdge> edges;           // With at least one end among those nodes.
    std::vector<std::string> locutions; // Objects of the "locutions" list.
    std::map<std::string, std::string> claimIds;          // Text -> the first I-node's id.
    std::map<TPart, std::string> partIds;                 // Step or attack -> RA or CA id.
    std::map<std::string, std::string> sourceNodes;       // I, RA, CA id -> its node object.
    std::map<std::string, std::string> schemes;           // RA, CA id -> scheme name.

    bool empty() const { return nodes.empty() && locutions.empty() && sourceNodes.empty(); }
};

// The scheme name of the step from reason to conclusion (exception empty) or of the attack of
// exception on it, as the file that was read named it; empty when none was named.
std::string_view SchemeName(const TAifExtras &extras, const std::string &reason,
                            const std::string &conclusion, const std::string &exception = {});
