#include "engine/assignment.h"

#include <cstddef>
#include <limits>

namespace rallinox {

// Hungarian method with row and column potentials: rows are added one at a
// time and each is placed along the shortest augmenting path, O(n^3).
std::vector<int> solveAssignment(const std::vector<double>& cost, int n) {
    const double infinity = std::numeric_limits<double>::infinity();
    // 1-based internally; column 0 is the virtual start of each augmenting path.
    std::vector<double> rowPotential(n + 1, 0.0), columnPotential(n + 1, 0.0);
    std::vector<int> rowOfColumn(n + 1, 0), previousColumn(n + 1, 0);

    for (int row = 1; row <= n; ++row) {
        rowOfColumn[0] = row;
        int column = 0;
        std::vector<double> slack(n + 1, infinity);
        std::vector<bool> visited(n + 1, false);
        do {
            visited[column] = true;
            const int currentRow = rowOfColumn[column];
            double delta = infinity;
            int nextColumn = 0;
            for (int j = 1; j <= n; ++j) {
                if (visited[j]) {
                    continue;
                }
                const double reduced = cost[static_cast<std::size_t>(currentRow - 1) * n + (j - 1)] -
                                       rowPotential[currentRow] - columnPotential[j];
                if (reduced < slack[j]) {
                    slack[j] = reduced;
                    previousColumn[j] = column;
                }
                if (slack[j] < delta) {
                    delta = slack[j];
                    nextColumn = j;
                }
            }
            for (int j = 0; j <= n; ++j) {
                if (visited[j]) {
                    rowPotential[rowOfColumn[j]] += delta;
                    columnPotential[j] -= delta;
                } else {
                    slack[j] -= delta;
                }
            }
            column = nextColumn;
        } while (rowOfColumn[column] != 0);

        // Flip the path back to its start.
        do {
            const int previous = previousColumn[column];
            rowOfColumn[column] = rowOfColumn[previous];
            column = previous;
        } while (column != 0);
    }

    std::vector<int> columnOfRow(n, -1);
    for (int j = 1; j <= n; ++j) {
        if (rowOfColumn[j] != 0) {
            columnOfRow[rowOfColumn[j] - 1] = j - 1;
        }
    }
    return columnOfRow;
}

}  // namespace rallinox
