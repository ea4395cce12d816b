#pragma once

#include "skin/art/Canvas.h"

#include <string>

namespace SkinArt {

// Writes finished images below the skin tree, remembering whether every write succeeded.
class ArtOutput {
public:
    explicit ArtOutput(std::string root) : root_(std::move(root)) {}

    // relativePath uses "/" and is relative to the tree, e.g. "res/mainWnd/bg1.png".
    void Save(const Canvas& canvas, const std::string& relativePath);
    // Writes outside the tree (the window icon).
    void SaveAt(const Canvas& canvas, const std::string& path);
    bool Succeeded() const { return succeeded_; }

private:
    std::string root_;
    bool succeeded_ = true;
};

}  // namespace SkinArt
