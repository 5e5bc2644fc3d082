// Linked into every program of the sanitizer build only (chosen by the top CMakeLists.txt).
//
// GCC 12's runtime takes a dynamic TLS block that malloc happens to place 16 bytes into a page for one
// carrying glibc 2.19's header, and reads its allocator's own chunk header as the block's bounds: the
// leak check at exit then scans from the allocating thread's number and stack id (0xeb8 in the main
// thread, say), and its tracer dies of signal 11. glibc has had no such header since 2.25; the blocks
// are the dynamic linker's allocations, which the leak check counts as reachable with what they point to.
extern "C" const char *__asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
