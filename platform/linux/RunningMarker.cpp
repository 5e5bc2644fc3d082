#include "RunningMarker.h"

// A Debian package is upgraded or removed whether the program runs or not: nothing to mark.

RunningMarker::RunningMarker() = default;

RunningMarker::~RunningMarker() = default;
