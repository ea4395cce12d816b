#pragma once

#include "skinui/CXmlMarkup.h"

#include <string>
#include <string_view>

namespace SkinUI {

class CControlUI;
class CManagerUI;
class IDialogBuilderCallback;

// Turns a skin document into a tree of controls for one window, registering
// its fonts, images, default attribute lists and strings on the way.
class CDialogBuilder {
public:
    CDialogBuilder() = default;
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // skin: a numeric resource id of `type`, markup text beginning with "<",
    // or a skin file name. Answers the first control created at the top level
    // (owned by the caller, or by `parent` when one is given), or nullptr.
    CControlUI* Create(std::string_view skin, std::string_view type = {}, IDialogBuilderCallback* callback = nullptr,
                       CManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // Builds from the document already loaded.
    CControlUI* Create(IDialogBuilderCallback* callback = nullptr, CManagerUI* manager = nullptr,
                       CControlUI* parent = nullptr);

    CXmlMarkup* GetMarkup() { return &markup_; }
    const std::string& GetLastErrorMessage() const { return markup_.GetLastErrorMessage(); }
    const std::string& GetLastErrorLocation() const { return markup_.GetLastErrorLocation(); }

private:
    bool Load(std::string_view skin, std::string_view type);
    void RegisterResources(const CXmlNode& root, CManagerUI& manager);
    void ApplyWindowAttributes(const CXmlNode& root, CManagerUI& manager);
    CControlUI* BuildChildren(const CXmlNode& first, CControlUI* parent, CManagerUI* manager);
    CControlUI* BuildInclude(const CXmlNode& node, CControlUI* parent, CManagerUI* manager);
    CControlUI* CreateControl(std::string_view elementName) const;
    void ApplyAttributes(const CXmlNode& node, CControlUI& control, CManagerUI& manager);

    CXmlMarkup markup_;
    IDialogBuilderCallback* callback_ = nullptr;
    // Set only when the skin came from a resource; Include uses it.
    std::string resourceType_;
};

}  // namespace SkinUI
