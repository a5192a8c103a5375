// Read only by the leak checker of sanitizer builds. Two libraries keep
// process-wide data until exit on purpose: fontconfig loads its configuration
// (and cairo its font-face cache) once per process for text drawing, and
// libsmf keeps the few bytes of a file header it refuses. Per-editor leaks
// and everything else still show.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libsmf\n";
}
