#include "HitAreas.h"

#include "HitAreaTable.h"

#include <algorithm>

std::span<const HitArea> hit_areas()
{
    return kHitAreaTable;
}

const HitArea *hit_test(int x_twips, int y_twips)
{
    if (x_twips < 0 || y_twips < 0 || x_twips >= kBoardPictureTwips || y_twips >= kBoardPictureTwips)
        return nullptr;
    const auto found = std::ranges::find_if(
        kHitAreaTable, [x_twips, y_twips](const HitArea &area) { return area.contains(x_twips, y_twips); });
    return found == kHitAreaTable.end() ? nullptr : &*found;
}
