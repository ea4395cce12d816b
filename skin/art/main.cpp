// Generates every image of the skin tree and the window icon at build time.
// Usage: skin_art <skin tree folder> <window icon file>

#include "skin/art/AnimationArt.h"
#include "skin/art/ArtOutput.h"
#include "skin/art/DialogArt.h"
#include "skin/art/WindowArt.h"

#include <cstdio>

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
