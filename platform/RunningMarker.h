#pragma once

// Lets the installer and the uninstaller see that the program is running, from construction to destruction.
class RunningMarker {
public:
    RunningMarker();
    ~RunningMarker();
    RunningMarker(const RunningMarker &) = delete;
    RunningMarker &operator=(const RunningMarker &) = delete;

private:
    void *handle_ = nullptr; // the system's handle, where there is one
};
