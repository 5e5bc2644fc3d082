#include "Centring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {

// Half of the space left over, in single precision as the window system is handed it.
int centred_edge(int screen_origin, int screen_extent, int window_extent)
{
    const float half = static_cast<float>(screen_extent - window_extent) / 2.0f;
    return screen_origin + static_cast<int>(std::lround(half));
}

const QScreen *screen_of(const QWidget &window)
{
    const QScreen *screen = window.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

void move_to_top_centre(QWidget &window)
{
    const QScreen *screen = screen_of(window);
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window.move(centred_edge(area.left(), area.width(), window.frameGeometry().width()), area.top());
}

// A window manager frames a window only once it is mapped, so its outer width is known only then. The
// first show or move that reveals a frame places the window once more, by that width; later moves are
// the user's.
class TopCentreOnceFramed : public QObject {
public:
    explicit TopCentreOnceFramed(QWidget &window)
        : QObject(&window)
        , window_(window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool framed = window_.frameGeometry().size() != window_.size();
        if (watched == &window_ && (event->type() == QEvent::Show || event->type() == QEvent::Move) && framed) {
            window_.removeEventFilter(this);
            move_to_top_centre(window_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget &window_;
};

} // namespace

void centre_on_screen(QWidget &window)
{
    const QScreen *screen = screen_of(window);
    if (!screen)
        return;
    const QRect area = screen->geometry();

    const int top = centred_edge(area.top(), area.height(), window.frameGeometry().height());
    window.move(window.x(), top);
    const int left = centred_edge(area.left(), area.width(), window.frameGeometry().width());
    window.move(left, window.y());
}

void place_at_top_centre(QWidget &window)
{
    move_to_top_centre(window);
    if (window.frameGeometry().size() == window.size())
        new TopCentreOnceFramed(window);
}

void centre_on_activation(QWidget &window, const QEvent &event)
{
    if (event.type() == QEvent::Show || event.type() == QEvent::WindowActivate)
        centre_on_screen(window);
}
