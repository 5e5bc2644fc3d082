#pragma once

#include "WindowSystem.h"

// The answers of the system the program runs on.
class NativeWindowSystem final : public WindowSystem {
public:
    bool made_at_another_scale(QWidget &window, const QScreen &screen) override;
    std::optional<SystemFrame> frame(QWidget &window, const QScreen &screen) override;
    bool move_outer_corner(QWidget &window, QPoint corner) override;
};
