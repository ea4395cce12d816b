#pragma once

#include "platform/WindowSystem.h"
#include "skinui/CShadowBitmap.h"
#include "skinui/IMessageFilterUI.h"

#include <cstdint>
#include <string_view>

namespace SkinUI {
class CManagerUI;
struct TImageEntry;
}  // namespace SkinUI

// The soft drop shadow of a frameless window: a click-through, per-pixel
// alpha window under it, computed from the window's shape (or a nine-grid
// image) and kept in step with the window's move, size, show, activation
// and paint messages, which it sees as a message filter of the window's manager.
class CWndShadow : public SkinUI::IMessageFilterUI {
public:
    CWndShadow() = default;
    ~CWndShadow() override;
    CWndShadow(const CWndShadow&) = delete;
    CWndShadow& operator=(const CWndShadow&) = delete;

    // Once per process, before the first shadow; false when already done or
    // when the window layer cannot blend translucent windows (every shadow is then left out).
    static bool Initialize();
    // The shadow following a window, or null.
    static CWndShadow* FromParent(Platform::WindowId parent);

    // The skinned window's set-up: when its "showshadow" attribute is "true"
    // (any case), creates the shadow with the "shadow…" attributes applied.
    void Create(Platform::WindowId parent, SkinUI::CManagerUI& manager);

    bool SetSize(int size);
    bool SetSharpness(int sharpness);
    bool SetDarkness(int darkness);
    bool SetPosition(int x, int y);
    // 0x00BBGGRR: the lowest byte is red.
    void SetColor(uint32_t color);
    // A nine-grid shadow image of the window's skin; false (settings kept) when it cannot be loaded.
    bool SetImage(std::string_view name, const SkinUI::UIRect& corners, const SkinUI::UIRect& holeOffset);

    Platform::WindowId GetShadowWindow() const { return shadow_; }
    bool IsShown() const { return (status_ & kShown) != 0; }
    const SkinUI::CShadowBitmap& GetBitmap() const { return bitmap_; }

    // The window's messages, before the window handles them; never consumes one.
    intptr_t MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override;

private:
    static constexpr uint32_t kEnabled = 1;
    static constexpr uint32_t kShown = 2;
    static constexpr uint32_t kParentVisible = 4;

    // Creates the shadow window for `parent` and starts following it.
    void Attach(Platform::WindowId parent, SkinUI::CManagerUI& manager);
    static bool CanShowShadows();
    void ApplySkinAttributes();
    void Detach();
    // Recomputes the bitmap for the window's current rectangle and shows it there.
    void Update();
    SkinUI::UIRect ShadowRect() const;
    // Hands the kept bitmap to the shadow window (again after an exposure).
    void PresentBitmap();
    void ShowShadow();
    void HideShadow();
    void RedrawIfShown();
    void OnParentSize(uintptr_t kind, intptr_t lParam);
    void OnParentShow(bool show);
    intptr_t ShadowProc(uint32_t message);

    Platform::WindowId parent_ = 0;
    Platform::WindowId shadow_ = 0;
    SkinUI::CManagerUI* manager_ = nullptr;
    uint32_t status_ = 0;
    SkinUI::TShadowLook look_;
    SkinUI::UISize lastParentSize_;
    bool updatePending_ = false;
    const SkinUI::TImageEntry* image_ = nullptr;
    SkinUI::UIRect imageCorners_;
    SkinUI::UIRect imageHoleOffset_;
    SkinUI::CShadowBitmap bitmap_;
};
