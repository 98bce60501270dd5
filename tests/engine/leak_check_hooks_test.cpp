// What the leak checker of the sanitizer build must not count against the drawing tests: memory
// that third-party libraries keep for the life of the process.

#include <dlfcn.h>

#if defined(__SANITIZE_ADDRESS__)

extern "C" {

// fontconfig's configuration and the patterns Cairo's font caches hold until exit; Cairo's own
// X-side font and display caches, which outlive the connection (the device is finished, see
// CairoCanvas); the D-Bus connection SDL's video start-up opens and keeps for the process.
const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libcairo.so\nleak:libdbus-1.so\n";
}

}  // extern "C"

namespace {

// Mesa loads its driver at eglInitialize and unloads it at eglTerminate; the blocks its globals
// still point at then look lost (a plain C program that frees everything shows the same). Kept
// loaded, the checker sees them reachable.
[[maybe_unused]] void* const kMesaDriver =
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE);

}  // namespace

#endif
