#pragma once
// From the explored graph to the report: one breadth-first walk from the start orders the
// waits and finds a shortest path to each ending and error, in the order it reaches them
// (so the report does not depend on the order in which the graph was found); endings are
// grouped by how and where the script ends; the waits from which nothing leads on are
// gathered by line and kind of wait.
#include "author/explore_graph.h"
#include "author/explorer.h"

namespace author {

// Fills the report's endings, errors, dead ends, waits, start, states and edges; false in
// `complete` when a way was lost.
void collect(const ExploreGraph& graph, ExploreReport& report);

}  // namespace author
