#pragma once

// Registers with Qt the faces this system draws in place of a design font family; design_font() puts
// them before the family. Call it once at start-up, before the first design font is made.
void register_font_substitutes();
