#pragma once

class QPoint;
class QWidget;

// Delivers a left-button press and release at `at` (widget coordinates) through the application,
// as the window system's mouse input reaches a widget; returns when both have been handled.
void synthetic_click(QWidget &target, const QPoint &at);
