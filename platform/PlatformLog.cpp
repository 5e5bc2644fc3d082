#include "PlatformLog.h"

Q_LOGGING_CATEGORY(lcPlatform, "ochreline.platform", QtWarningMsg)
