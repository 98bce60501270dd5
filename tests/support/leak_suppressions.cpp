// Not a test: the leak checker's list of what is not ours to free. Fontconfig keeps caches
// for the life of the process, and the toolkit's test application lives until exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
