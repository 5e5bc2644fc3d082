#include "RunningMarker.h"

#include "Version.h"

#include <string>

#include <windows.h>

#include <sddl.h>

// A named mutex in the global namespace, where an installer run by any user sees it whichever session the
// program runs in. Everyone may open it to wait on it: a copy that a second user starts meanwhile opens
// the first copy's mutex and holds it too, so the first copy's end does not hide the second.
RunningMarker::RunningMarker()
{
    PSECURITY_DESCRIPTOR everyone_may_wait = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;0x00100000;;;WD)", SDDL_REVISION_1,
                                                              &everyone_may_wait, nullptr))
        return;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, everyone_may_wait, FALSE};
    const std::string name = std::string("Global\\") + version::kRunningMutexName;
    handle_ = CreateMutexExA(&attributes, name.c_str(), 0, SYNCHRONIZE);
    LocalFree(everyone_may_wait);
}

RunningMarker::~RunningMarker()
{
    if (handle_)
        CloseHandle(handle_);
}
