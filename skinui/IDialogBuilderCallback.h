#pragma once

#include <string_view>

namespace SkinUI {

class CControlUI;

// Creates the controls of elements the builder's own table does not know.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    // A new control (owned by the caller from then on), or nullptr.
    virtual CControlUI* CreateControl(std::string_view elementName) = 0;
};

}  // namespace SkinUI
