// Fontconfig keeps its configuration and pattern caches for the life of the
// process; the leak checker would report them at exit after every text test.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
