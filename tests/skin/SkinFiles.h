#pragma once

#include "XmlElement.h"

#include <optional>
#include <string>
#include <vector>

// Access to the skin files of the source tree and the images the build generates for them.
class SkinFiles {
public:
    static const std::vector<std::string>& Names();
    // Parses skin/<name>; a parse failure is a test failure.
    static std::optional<XmlElement> Load(const std::string& name);
    // "res\mainWnd\bg1.png" -> <skin tree>/res/mainWnd/bg1.png
    static std::string TreePath(const std::string& skinPath);
};
