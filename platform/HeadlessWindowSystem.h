#pragma once

#include "platform/WindowSystemBase.h"

#include <string>
#include <vector>

namespace Platform {

// The window layer in memory: windows, focus, enabled state, regions and
// the presented pixels are recorded, input is injected by tests.
class HeadlessWindowSystem : public WindowSystemBase {
public:
    HeadlessWindowSystem();
    ~HeadlessWindowSystem() override;

    Rect GetWorkArea(WindowId window) const override;
    bool SupportsTranslucentWindows() const override { return translucent_; }
    uint32_t GetKeyState() const override { return keyState_; }
    Point GetCursorPos() const override { return cursor_; }
    void SetCursor(CursorKind cursor) override { cursorKind_ = cursor; }
    void TrackMouse(WindowId window, uint32_t hoverMs) override;
    void ShowTooltip(WindowId window, const std::string& text, Point screen) override;
    void HideTooltip() override { tooltip_.clear(); }
    void Present(WindowId window, const uint32_t* pixels, int width, int height, int stride,
                 const Rect& part) override;
    std::string GetClipboardText() override { return clipboard_; }
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }
    void SetIcon(WindowId window, const uint32_t*, int width, int height) override { icons_[window] = {width, height}; }
    // Writes the message to standard error.
    void ShowErrorMessage(const std::string& text, const std::string& caption) override;

    // --- for tests ---
    void SetWorkArea(const Rect& area) { workArea_ = area; }
    void SetTranslucentWindows(bool supported) { translucent_ = supported; }
    // Posts a mouse message at a client position of the window (the pointer
    // moves there); a disabled window gets nothing, as with real input.
    void InjectMouse(WindowId window, uint32_t message, int x, int y, uint32_t keyState = 0);
    // Posts a key or character message to the window with the keyboard
    // focus; keyState holds the modifiers (MK_SHIFT, ...) held from now on.
    void InjectKey(uint32_t message, uintptr_t key, uint32_t keyState = 0);
    // A presented pixel (premultiplied 0xAARRGGBB) of the client area; 0 when none.
    uint32_t PresentedPixel(WindowId window, int x, int y) const;
    Size RoundRegion(WindowId window) const;
    // Size of the icon last set on the window (0,0 when none).
    Size IconSize(WindowId window) const { return icons_.count(window) ? icons_.at(window) : Size{}; }
    bool HasTimer(WindowId window, uint32_t id) const { return Queue().HasTimer(window, id); }
    const std::string& TooltipText() const { return tooltip_; }
    CursorKind Cursor() const { return cursorKind_; }
    uint32_t TrackedHoverTime() const { return hoverMs_; }
    std::string Title(WindowId window) const;

protected:
    bool NativeCreate(WindowId window, const WindowParams& params) override;
    void NativeDestroy(WindowId window) override;
    void NativeShow(WindowId, bool, bool) override {}
    void NativeMove(WindowId window, const Rect& rect) override;
    void NativeRegion(WindowId, const Rect&, Size) override {}
    void NativeTitle(WindowId, const std::string&) override {}
    void NativeOpacity(WindowId, uint8_t) override {}
    void NativeFocus(WindowId) override {}
    void NativeCapture(WindowId) override {}
    void WaitForEvents(int timeoutMs) override;

private:
    struct Screen {
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels;
    };

    std::map<WindowId, Screen> screens_;
    std::map<WindowId, Size> icons_;
    Rect workArea_{0, 0, 1920, 1040};
    Point cursor_;
    CursorKind cursorKind_ = CursorKind::Arrow;
    uint32_t hoverMs_ = 0;
    uint32_t keyState_ = 0;
    bool translucent_ = true;
    std::string tooltip_;
    std::string clipboard_;
};

}  // namespace Platform
