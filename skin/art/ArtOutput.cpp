#include "skin/art/ArtOutput.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace SkinArt {

void ArtOutput::Save(const Canvas& canvas, const std::string& relativePath)
{
    SaveAt(canvas, (std::filesystem::path(root_) / relativePath).string());
}

void ArtOutput::SaveAt(const Canvas& canvas, const std::string& path)
{
    if (!canvas.TextFault().empty()) {
        std::fprintf(stderr, "skin_art: %s: %s\n", path.c_str(), canvas.TextFault().c_str());
        succeeded_ = false;
    }
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    if (error || !canvas.SavePng(path)) {
        std::fprintf(stderr, "skin_art: cannot write %s\n", path.c_str());
        succeeded_ = false;
    }
}

}  // namespace SkinArt
