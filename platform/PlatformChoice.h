#pragma once

#include <QByteArray>
#include <QList>

// The command line for the application object, naming the window system when the user has chosen none.
// Handed over as "-platform LIST" rather than through the environment, which programs started from this
// one (the web browser) would inherit.
class PlatformChoice {
public:
    PlatformChoice(int argc, char *argv[]);

    int &argc() { return count_; }
    char **argv() { return arguments_.data(); }

    // The platform list given QT_QPA_PLATFORM and DISPLAY: where an X server is at hand (in a Wayland
    // session, its Xwayland) X11 comes first, as only there can the program place its windows; Wayland
    // stays the fallback. Empty when the user's choice stands or there is no X server.
    static QByteArray preferred_platform(const QByteArray &chosen, const QByteArray &display);

private:
    QByteArray flag_{"-platform"};
    QByteArray list_;
    QList<char *> arguments_;
    int count_ = 0;
};
