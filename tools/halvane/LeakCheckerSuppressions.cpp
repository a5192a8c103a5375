// libsmf keeps the few bytes of a file header it refuses; freeing them is
// the library's business. Read only by the leak checker of sanitizer builds.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libsmf\n"; }
