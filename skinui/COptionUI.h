#pragma once

#include "skinui/CButtonUI.h"

namespace SkinUI {

// A button with a selected state; options sharing a non-empty group in one window are
// mutually exclusive, an option without a group toggles.
class COptionUI : public CButtonUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // "click", then select (grouped) or toggle (ungrouped).
    bool Activate() override;
    void SetEnabled(bool enabled = true) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintStatusImage(CRenderEngine& render) override;
    void PaintText(CRenderEngine& render) override;

    const std::string& GetGroup() const;
    void SetGroup(std::string_view group);
    bool IsSelected() const;
    virtual void Selected(bool selected, bool sendNotify = true);
    void SetSelectedImage(std::string_view descriptor);
    void SetSelectedHotImage(std::string_view descriptor);
    void SetOptionForeImage(std::string_view descriptor);
    void SetSelectedBkColor(uint32_t argb);
    void SetSelectedTextColor(uint32_t argb);

private:
    // The other options of this option's group in the window.
    std::vector<COptionUI*> GroupMates() const;
    bool PaintSelectedStatus(CRenderEngine& render);

    std::string group_;
    bool selected_ = false;
    CImageDescriptor selectedImage_;
    CImageDescriptor selectedHotImage_;
    CImageDescriptor optionForeImage_;
    uint32_t selectedBkColor_ = 0;
    uint32_t selectedTextColor_ = 0;
};

} // namespace SkinUI
