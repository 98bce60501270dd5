// Not a test: the leak checker's list of what is not ours to free. Fontconfig keeps caches
// for the life of the process, the toolkit's test application lives until exit, and on a real
// X server the toolkit's session-bus connection keeps buffers of its own.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
