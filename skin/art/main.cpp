// Generates every image of the skin tree and the window icon at build time.
// Usage: skin_art <skin tree folder> <window icon file>

#include "skin/art/AnimationArt.h"
#include "skin/art/ArtOutput.h"
#include "skin/art/DialogArt.h"
#include "skin/art/WindowArt.h"

#include <cstdio>

// fontconfig keeps its configuration for the life of the process and offers no safe way to
// free it (FcFini asserts while Pango still holds fonts); the leak checker is told so.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

// Pango loads the font configuration on a helper thread and hands it over through GLib's
// futex-based locks, which ThreadSanitizer cannot see; this program starts no thread itself.
extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libfontconfig.so\n"
           "race:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin_art <skin tree folder> <window icon file>\n");
        return 2;
    }
    SkinArt::ArtOutput output(argv[1]);
    SkinArt::PaintMainWindowArt(output);
    SkinArt::PaintDialogArt(output);
    SkinArt::PaintAnimations(output);
    SkinArt::PaintWindowIcon(output, argv[2]);
    return output.Succeeded() ? 0 : 1;
}
