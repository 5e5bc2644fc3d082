#include "FontSubstitutes.h"

// Fontconfig's faces are outlines, and where a design family is missing its metric-compatible stand-in
// follows it: nothing to substitute.
void register_font_substitutes() { }
