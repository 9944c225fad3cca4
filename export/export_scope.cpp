#include "export/export_scope.h"

namespace rallinox {

std::vector<Rally> chosenRallies(const Project& project, ExportScope scope, int64_t highlightedId) {
    std::vector<Rally> chosen;
    for (const Rally& rally : project.rallies) {
        const bool wanted = scope == ExportScope::All || (scope == ExportScope::Ticked && rally.selected) ||
                            (scope == ExportScope::OnlyHighlighted && rally.id == highlightedId);
        if (wanted) chosen.push_back(rally);
    }
    return chosen;
}

}  // namespace rallinox
