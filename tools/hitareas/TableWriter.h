#pragma once

#include "AreaPlan.h"

#include <ostream>
#include <vector>

// Writes a finished layout as the committed table of hit areas in twips.
class TableWriter {
public:
    TableWriter(const AreaPlan &plan, std::vector<PlannedArea> areas);

    // False when fewer than ten miss areas touch the picture's edge.
    bool extend_edge_misses();
    void order_elements();
    void write(std::ostream &out) const;

private:
    const AreaPlan &plan_;
    std::vector<PlannedArea> areas_;
};
