#include "PlatformChoice.h"

#include <algorithm>
#include <cstring>

namespace {

bool names_platform(const char *argument)
{
    return argument && (std::strcmp(argument, "-platform") == 0 || std::strcmp(argument, "--platform") == 0);
}

} // namespace

PlatformChoice::PlatformChoice(int argc, char *argv[])
    : list_(preferred_platform(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY")))
    , arguments_(argv, argv + argc)
{
    if (!list_.isEmpty() && !arguments_.isEmpty() && std::none_of(argv, argv + argc, names_platform)) {
        arguments_.insert(1, flag_.data());
        arguments_.insert(2, list_.data());
    }
    count_ = static_cast<int>(arguments_.size());
    arguments_.append(nullptr); // argv[argc] is null, as main's is
}
