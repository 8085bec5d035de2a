#pragma once

#include "dialogue/foreigngraph.h"

#include <string>
#include <string_view>

// The map an Argdown file's bytes (UTF-8, or else Windows-1252) draw, as the guide's grammar
// reads it: statements by title, support, attack, contradiction and undercut relations, and
// arguments' premise-conclusion structures; headings, frontmatter, comments, data and other
// tags are counted as left out. Throws TFileError "<fileName>:<line>: ..." for a file in UTF-16
// and for text that does not fit the grammar.
TForeignGraph ReadArgdownGraph(std::string_view bytes, const std::string &fileName);

// The moves of an Argdown file: its graph mapped as every foreign graph is.
TForeignMoves ReadArgdownFile(std::string_view bytes, const std::string &fileName);
