#pragma once

#include "WindowSystem.h"

#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

// Answers for the window system what only Windows would tell, so that the placement's decisions run on every
// platform: a window made at another monitor's scale, and invisible borders that DWM leaves out of what the
// user sees once the window is shown. In the system's place while it lives.
class StandInWindowSystem final : public WindowSystem {
public:
    QMargins invisible_borders; // none: Qt's own placement stands, as on Linux

    StandInWindowSystem() { stand_in_window_system(this); }
    ~StandInWindowSystem() override { stand_in_window_system(nullptr); }
    Q_DISABLE_COPY_MOVE(StandInWindowSystem)

    // The window as it exists now was made at another scale; one made anew is not.
    void mark_made_at_another_scale(QWidget &window) { scaled_elsewhere_ = window.winId(); }

    bool made_at_another_scale(QWidget &window, const QScreen &) override
    {
        return window.internalWinId() && window.internalWinId() == scaled_elsewhere_;
    }
    std::optional<SystemFrame> frame(QWidget &window, const QScreen &screen) override
    {
        if (invisible_borders.isNull() || !window.windowHandle())
            return std::nullopt;
        const QRect outer = window.frameGeometry();
        const QRect seen = window.windowHandle()->isVisible() ? outer - invisible_borders : outer;
        return SystemFrame{outer, seen, screen.geometry(), screen.availableGeometry().top()};
    }
    bool move_outer_corner(QWidget &window, QPoint corner) override
    {
        window.windowHandle()->setFramePosition(corner);
        return true;
    }

private:
    WId scaled_elsewhere_ = 0;
};
