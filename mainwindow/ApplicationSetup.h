#pragma once

// Names the application, its maker and version, and gives every window the design's form font.
void setup_application();
