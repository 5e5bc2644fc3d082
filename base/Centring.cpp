#include "Centring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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

void move_to_centre(QWidget &window)
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

constexpr char kPlacementName[] = "placementOnceFramed";

// A window manager frames a window only after it is mapped, and Qt learns the frame's size later still,
// sometimes after the window has been activated. Until then a window's outer size is its client size.
// The first show or move that reveals the frame runs the placement once more, by the outer size; later
// moves are the user's.
class PlacementOnceFramed : public QObject {
public:
    PlacementOnceFramed(QWidget &window, void (*place)(QWidget &))
        : QObject(&window)
        , window_(window)
        , place_(place)
    {
        setObjectName(QLatin1String(kPlacementName));
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool reveals = event->type() == QEvent::Show || event->type() == QEvent::Move;
        if (watched == &window_ && reveals && window_.frameGeometry().size() != window_.size()) {
            window_.removeEventFilter(this);
            place_(window_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget &window_;
    void (*place_)(QWidget &);
};

void place_now_and_once_framed(QWidget &window, void (*place)(QWidget &))
{
    place(window);
    const bool frame_unknown = window.frameGeometry().size() == window.size();
    const bool frame_expected = !(window.windowFlags() & Qt::FramelessWindowHint);
    if (frame_unknown && frame_expected
        && !window.findChild<QObject *>(QLatin1String(kPlacementName), Qt::FindDirectChildrenOnly))
        new PlacementOnceFramed(window, place);
}

// Qt can miss where a window manager finally put a window it framed (the frame moved into place with no
// synthetic ConfigureNotify to the client) and then maps positions in the window wrongly, also for
// assistive technology. Asking again for the position the window has makes the manager confirm it.
void confirm_position(QWidget &window)
{
    QWindow *handle = window.windowHandle();
    if (handle && handle->isVisible() && handle->position() != window.geometry().topLeft())
        handle->setPosition(window.geometry().topLeft());
}

} // namespace

void centre_on_screen(QWidget &window)
{
    place_now_and_once_framed(window, move_to_centre);
}

void place_at_top_centre(QWidget &window)
{
    place_now_and_once_framed(window, move_to_top_centre);
}

void centre_on_activation(QWidget &window, const QEvent &event)
{
    if (event.type() == QEvent::Show || event.type() == QEvent::WindowActivate)
        centre_on_screen(window);
    if (event.type() == QEvent::WindowActivate)
        confirm_position(window);
}
