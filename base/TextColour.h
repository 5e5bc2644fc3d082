#pragma once

class QColor;
class QWidget;

// Gives a label's text the design's colour, made lighter or darker where the style's background would leave it
// hard to read, and again whenever the style's colours or the label's font change.
void set_text_colour(QWidget &widget, const QColor &colour);
