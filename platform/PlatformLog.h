#pragma once

#include <QLoggingCategory>

// Messages of the platform layer: why sound is off, which driver plays, what the sound server said.
// Warnings are shown; debug messages are turned on with QT_LOGGING_RULES="ochreline.platform.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
