// The journal's layout, version by version: the statements that bring a file
// from one version to the next, and the cost function those statements and
// the journal's writes use. A later version adds its step at the end.
#pragma once

#include <vector>

class QSqlDatabase;

namespace tempodial {

// The statements of each step, in order: step 0 makes version 1, step 1
// brings version 1 to 2, and so on. The number of steps is the current version.
const std::vector<std::vector<const char*>>& journalSteps();

// Teaches the connection tempodial_cost(cost_start, cost_end): what a session
// cost in millionths of its currency, read from the cost texts as the cost
// box reads them. False when the connection is no SQLite connection.
bool installCostFunction(const QSqlDatabase& db);

}  // namespace tempodial
