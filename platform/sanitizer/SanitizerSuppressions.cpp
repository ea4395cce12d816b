// Linked into every program and test binary that draws or measures text.
//
// Fontconfig keeps its configuration and pattern caches for the life of the
// process; the leak checker would report them at exit after any test that
// measures or draws text.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

// Pango loads the font configuration on a thread of its own ("[pango] FcInit");
// fontconfig and glib synchronise it in code that is not instrumented.
extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libfontconfig.so\n"
           "race:libfontconfig.so\n"
           "race:libglib-2.0.so\n";
}
