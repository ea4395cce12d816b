// The dialogs draw their texts through fontconfig, which keeps its caches
// until the process ends; the leak checker must not count them.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
