// Pango loads the font configuration on a thread of its own ("[pango] FcInit");
// fontconfig and glib synchronise it in code that is not instrumented.
extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libfontconfig.so\n"
           "race:libfontconfig.so\n"
           "race:libglib-2.0.so\n";
}
