#include "FontConfigWarmUp.h"

// Windows' fonts need no configuration loaded beforehand: there is nothing to warm.

FontConfigWarmUp::FontConfigWarmUp() = default;

FontConfigWarmUp::~FontConfigWarmUp() = default;

void FontConfigWarmUp::wait() { }
