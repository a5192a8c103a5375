// Text drawing loads fontconfig's configuration and cairo's font-face cache
// once per process and keeps them until exit; the leak checker of sanitizer
// builds is told so. Per-editor leaks still show: nothing else is excused.
// Linked into every test program that draws.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
