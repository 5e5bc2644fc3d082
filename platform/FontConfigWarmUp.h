#pragma once

#include <thread>

// Loads the font configuration on a thread of its own while the display connection is being made, so
// that the main window's first text does not wait for it.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp &) = delete;
    FontConfigWarmUp &operator=(const FontConfigWarmUp &) = delete;

    // Waits until the configuration is loaded; call it before the first text is measured, so that
    // Qt does not load a second copy at the same time.
    void wait();

private:
    std::thread thread_;
};
