#include "skinui/CWndShadow.h"

#include "platform/WindowMessages.h"
#include "skinui/AttributeValue.h"
#include "skinui/CManagerUI.h"

#include <charconv>
#include <map>
#include <strings.h>

using namespace Platform;
using SkinUI::UIRect;

namespace {

constexpr int kMaxOffset = 20;
constexpr int kMaxSharpness = 20;
constexpr int kMaxDarkness = 255;

struct ProcessShadows {
    bool initialized = false;
    bool available = false;
    std::map<WindowId, CWndShadow*> byParent;
};

ProcessShadows& Shadows()
{
    static ProcessShadows shadows;
    return shadows;
}

WindowSystem* System() { return WindowSystem::Current(); }

bool InOffsetRange(int value) { return value >= -kMaxOffset && value <= kMaxOffset; }

// "#26003B76" or "26003B76": hexadecimal, used as 0x00BBGGRR (the top byte is ignored).
uint32_t ParseShadowColor(std::string_view value)
{
    if (!value.empty() && value.front() == '#') value.remove_prefix(1);
    uint32_t color = 0;
    std::from_chars(value.data(), value.data() + value.size(), color, 16);
    return color & 0x00FFFFFF;
}

}  // namespace

bool CWndShadow::Initialize()
{
    if (Shadows().initialized) return false;
    Shadows().initialized = true;
    Shadows().available = System() != nullptr && System()->SupportsTranslucentWindows();
    return Shadows().available;
}

bool CWndShadow::CanShowShadows()
{
    // Without blending (no compositor) the shadow would paint over its window.
    return Shadows().available && System() != nullptr && System()->SupportsTranslucentWindows();
}

CWndShadow* CWndShadow::FromParent(WindowId parent)
{
    const auto it = Shadows().byParent.find(parent);
    return it == Shadows().byParent.end() ? nullptr : it->second;
}

CWndShadow::~CWndShadow() { Detach(); }

void CWndShadow::Create(WindowId parent, SkinUI::CManagerUI& manager)
{
    const std::string* show = manager.GetWindowCustomAttribute("showshadow");
    if (show == nullptr || strcasecmp(show->c_str(), "true") != 0) return;
    Attach(parent, manager);
    if (shadow_ != 0) ApplySkinAttributes();
}

void CWndShadow::ApplySkinAttributes()
{
    const auto attribute = [this](std::string_view name) {
        const std::string* value = manager_->GetWindowCustomAttribute(name);
        return value != nullptr ? std::string_view(*value) : std::string_view();
    };
    if (!attribute("shadowimage").empty()) {
        SetImage(attribute("shadowimage"), SkinUI::ParseRect(attribute("shadowcorner")),
                 SkinUI::ParseRect(attribute("shadowholeoffset")));
    }
    if (!attribute("shadowsize").empty()) SetSize(SkinUI::ParseInt(attribute("shadowsize")));
    if (!attribute("shadowsharpness").empty()) SetSharpness(SkinUI::ParseInt(attribute("shadowsharpness")));
    if (!attribute("shadowdarkness").empty()) SetDarkness(SkinUI::ParseInt(attribute("shadowdarkness")));
    if (!attribute("shadowposition").empty()) {
        const SkinUI::UISize position = SkinUI::ParseSize(attribute("shadowposition"));
        SetPosition(position.cx, position.cy);
    }
    if (!attribute("shadowcolor").empty()) SetColor(ParseShadowColor(attribute("shadowcolor")));
}

void CWndShadow::Attach(WindowId parent, SkinUI::CManagerUI& manager)
{
    if (!CanShowShadows() || !System()->IsWindow(parent) || shadow_ != 0) return;
    if (FromParent(parent) != nullptr) return;
    WindowParams params;
    params.owner = parent;
    params.rect = System()->GetWindowRect(parent);
    params.translucent = true;
    params.clickThrough = true;
    shadow_ = System()->CreateWindow(params, [this](uint32_t message, uintptr_t, intptr_t) { return ShadowProc(message); });
    if (shadow_ == 0) return;
    parent_ = parent;
    manager_ = &manager;
    Shadows().byParent[parent] = this;
    manager.AddMessageFilter(this);

    const Rect rect = System()->GetWindowRect(parent);
    lastParentSize_ = {rect.Width(), rect.Height()};
    const bool minimized = System()->IsMinimized(parent);
    if (!System()->IsVisible(parent) && !minimized) {
        status_ = kEnabled;
    } else if (minimized || System()->IsMaximized(parent)) {
        status_ = kEnabled | kParentVisible;
    } else {
        status_ = kEnabled | kParentVisible;
        ShowShadow();
        Update();
    }
}

void CWndShadow::Detach()
{
    if (manager_ != nullptr) manager_->RemoveMessageFilter(this);
    manager_ = nullptr;
    image_ = nullptr;
    if (parent_ != 0 && FromParent(parent_) == this) Shadows().byParent.erase(parent_);
    parent_ = 0;
    // Destroyed at once rather than closed later: its procedure calls this object.
    if (shadow_ != 0 && System() != nullptr) System()->DestroyWindow(shadow_);
    shadow_ = 0;
    status_ = 0;
}

bool CWndShadow::SetSize(int size)
{
    if (!InOffsetRange(size)) return false;
    look_.size = size;
    RedrawIfShown();
    return true;
}

bool CWndShadow::SetSharpness(int sharpness)
{
    if (sharpness < 0 || sharpness > kMaxSharpness) return false;
    look_.sharpness = sharpness;
    RedrawIfShown();
    return true;
}

bool CWndShadow::SetDarkness(int darkness)
{
    if (darkness < 0 || darkness > kMaxDarkness) return false;
    look_.darkness = darkness;
    RedrawIfShown();
    return true;
}

bool CWndShadow::SetPosition(int x, int y)
{
    if (!InOffsetRange(x) || !InOffsetRange(y)) return false;
    look_.xOffset = x;
    look_.yOffset = y;
    RedrawIfShown();
    return true;
}

void CWndShadow::SetColor(uint32_t color)
{
    look_.color = color & 0x00FFFFFF;
    RedrawIfShown();
}

bool CWndShadow::SetImage(std::string_view name, const UIRect& corners, const UIRect& holeOffset)
{
    const SkinUI::TImageEntry* image = manager_ != nullptr ? manager_->GetImageEx(name) : nullptr;
    if (image == nullptr) return false;
    image_ = image;
    imageCorners_ = corners;
    imageHoleOffset_ = holeOffset;
    RedrawIfShown();
    return true;
}

void CWndShadow::RedrawIfShown()
{
    if (IsShown()) Update();
}

UIRect CWndShadow::ShadowRect() const
{
    const Rect window = System()->GetWindowRect(parent_);
    const int left = image_ != nullptr ? window.left - imageCorners_.left : window.left + look_.xOffset - look_.size;
    const int top = image_ != nullptr ? window.top - imageCorners_.top : window.top + look_.yOffset - look_.size;
    return UIRect{left, top, left + bitmap_.Width(), top + bitmap_.Height()};
}

void CWndShadow::Update()
{
    if (shadow_ == 0 || System() == nullptr) return;
    const Rect window = System()->GetWindowRect(parent_);
    if (image_ != nullptr) {
        bitmap_.DrawImage(*image_, window.Width(), window.Height(), imageCorners_, imageHoleOffset_);
    } else {
        const SkinUI::UISize round = manager_ != nullptr ? manager_->GetRoundCorner() : SkinUI::UISize{};
        bitmap_.Compute(SkinUI::CShadowBitmap::WindowShape(window.Width(), window.Height(), round), window.Width(),
                        window.Height(), look_);
    }
    System()->MoveWindow(shadow_, ShadowRect());
    PresentBitmap();
}

void CWndShadow::PresentBitmap()
{
    if (bitmap_.Pixels().empty()) return;
    System()->Present(shadow_, bitmap_.Pixels().data(), bitmap_.Width(), bitmap_.Height(),
                      bitmap_.Width() * static_cast<int>(sizeof(uint32_t)), {0, 0, bitmap_.Width(), bitmap_.Height()});
}

void CWndShadow::ShowShadow()
{
    status_ |= kShown;
    if (!System()->IsVisible(shadow_)) System()->ShowWindow(shadow_, ShowMode::NoActivate);
}

void CWndShadow::HideShadow()
{
    status_ &= ~kShown;
    System()->ShowWindow(shadow_, ShowMode::Hide);
}

intptr_t CWndShadow::ShadowProc(uint32_t message)
{
    switch (message) {
    case WM_NCCREATE: return 1;
    case WM_PAINT:
        // The window layer may have lost the pixels (exposure); they are kept here.
        System()->TakeUpdateRect(shadow_);
        PresentBitmap();
        return 0;
    default: return 0;
    }
}

intptr_t CWndShadow::MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled)
{
    handled = false;
    if (shadow_ == 0 || System() == nullptr) return 0;
    switch (message) {
    case WM_MOVE:
        if (IsShown()) System()->MoveWindow(shadow_, ShadowRect());
        break;
    case WM_SIZE: OnParentSize(wParam, lParam); break;
    case WM_ACTIVATE:
    case WM_EXITSIZEMOVE:
        if (IsShown()) Update();
        break;
    case WM_PAINT:
        if (updatePending_) {
            updatePending_ = false;
            Update();
        }
        break;
    case WM_SHOWWINDOW: OnParentShow(wParam != 0); break;
    case WM_DESTROY: {
        const WindowId shadow = shadow_;
        shadow_ = 0;
        status_ = 0;
        System()->DestroyWindow(shadow);
        break;
    }
    case WM_NCDESTROY: Detach(); break;
    default: break;
    }
    return 0;
}

void CWndShadow::OnParentSize(uintptr_t kind, intptr_t lParam)
{
    if ((status_ & kEnabled) == 0) return;
    if (kind == SIZE_MAXIMIZED || kind == SIZE_MINIMIZED) {
        HideShadow();
    } else if ((status_ & kParentVisible) != 0) {
        const SkinUI::UISize size{PointParamX(lParam), PointParamY(lParam)};
        if (size.cx <= lastParentSize_.cx && size.cy <= lastParentSize_.cy) {
            Update();
        } else {
            updatePending_ = true;
        }
        ShowShadow();
    }
    lastParentSize_ = {PointParamX(lParam), PointParamY(lParam)};
}

void CWndShadow::OnParentShow(bool show)
{
    if ((status_ & kEnabled) == 0) return;
    if (!show) {
        HideShadow();
        status_ &= ~kParentVisible;
    } else if ((status_ & kParentVisible) == 0) {
        updatePending_ = true;
        ShowShadow();
        status_ |= kParentVisible;
    }
}
