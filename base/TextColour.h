#pragma once

class QColor;
class QWidget;

// Gives a label's or a frame caption's text the design's colour.
void set_text_colour(QWidget &widget, const QColor &colour);
