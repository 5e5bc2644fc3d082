#include "TextColour.h"

#include "Contrast.h"

#include <QEvent>
#include <QPalette>
#include <QWidget>

namespace {

constexpr char kDesignColour[] = "designTextColour";

void show_legible(QWidget &widget)
{
    const QColor design = widget.property(kDesignColour).value<QColor>();
    QPalette palette = widget.palette();
    const QColor shown = contrast::legible(design, palette.color(widget.backgroundRole()),
                                           contrast::minimum_for(design, widget.font()));
    if (palette.color(QPalette::WindowText) == shown && palette.color(QPalette::Text) == shown)
        return;
    palette.setColor(QPalette::WindowText, shown);
    palette.setColor(QPalette::Text, shown);
    widget.setPalette(palette);
}

// Keeps the widget's text legible when its background or font changes, as when the desktop turns dark.
class LegibleText : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
            show_legible(*static_cast<QWidget *>(watched));
        return false;
    }
};

} // namespace

void set_text_colour(QWidget &widget, const QColor &colour)
{
    if (!widget.property(kDesignColour).isValid())
        widget.installEventFilter(new LegibleText(&widget));
    widget.setProperty(kDesignColour, colour);
    show_legible(widget);
}
