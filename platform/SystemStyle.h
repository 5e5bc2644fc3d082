#pragma once

// Chooses the widgets' style where this system's default would change the program's look. Call it once at
// start-up, before the first widget is made.
void choose_system_style();
