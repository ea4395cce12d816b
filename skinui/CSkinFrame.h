#pragma once

#include "skinui/CWndShadow.h"
#include "skinui/WindowImplBase.h"

#include <string>

namespace SkinUI {

// Where a frame's skin comes from and the class name of its window.
struct TSkinFrameParams {
    ResourceKind kind = ResourceKind::ZipResource;
    int resourceId = 0;
    std::string skinFolder;
    std::string skinFile;
    std::string className;
};

// Base of every installer window: its skin location, its shadow, and Escape swallowed.
class CSkinFrame : public WindowImplBase {
public:
    explicit CSkinFrame(TSkinFrameParams params);

    // The installer's windows: kind ZipResource, id 147, folder "", class = the file name up to its last ".".
    static TSkinFrameParams InstallerSkin(const std::string& skinFile);

    std::string GetWindowClassName() const override { return params_.className; }
    ResourceKind GetSkinSource() const override { return params_.kind; }
    int GetSkinResourceId() const override { return params_.resourceId; }
    std::string GetSkinDir() override { return params_.skinFolder; }
    std::string GetSkinXml() override { return params_.skinFile; }
    void InitWindow() override;
    intptr_t MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override;

    CWndShadow& GetShadow() { return shadow_; }

private:
    TSkinFrameParams params_;
    CWndShadow shadow_;
};

}  // namespace SkinUI
