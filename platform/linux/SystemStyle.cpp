#include "SystemStyle.h"

// The desktop's own style, as every other program of the desktop has.
void choose_system_style() { }
