#include "SkinFiles.h"

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>

const std::vector<std::string>& SkinFiles::Names()
{
    static const std::vector<std::string> names = {
        "mainWnd.xml",           "MessageBox1Wnd.xml", "MessageBox2Wnd.xml",
        "InstalledPathTipWnd.xml", "NetworkTipWnd.xml",  "exitTipWnd.xml"};
    return names;
}

std::optional<XmlElement> SkinFiles::Load(const std::string& name)
{
    std::string text;
    if (!Platform::ReadWholeFile(Platform::JoinPath(SKIN_SOURCE_DIR, name), text)) {
        ADD_FAILURE() << "cannot read " << name;
        return std::nullopt;
    }
    std::string error;
    std::optional<XmlElement> root = XmlElement::Parse(text, &error);
    if (!root)
        ADD_FAILURE() << name << ": " << error;
    return root;
}

std::string SkinFiles::TreePath(const std::string& skinPath)
{
    std::string relative = skinPath;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return Platform::JoinPath(SKIN_TREE_DIR, relative);
}
