#include "skinui/WindowImplBase.h"

#include "platform/TextConversion.h"
#include "platform/WindowMessages.h"
#include "skinui/CControlUI.h"
#include "skinui/CDialogBuilder.h"

#include <cstdlib>

namespace SkinUI {

using namespace Platform;

namespace {

WindowSystem* System() { return WindowSystem::Current(); }

bool IsClickableInCaption(const CControlUI& control)
{
    const std::string_view name = control.GetClass();
    for (const char* clickable : {"Button", "Option", "Text"}) {
        if (EqualsIgnoringCase(name, clickable)) {
            return true;
        }
    }
    return false;
}

// Handlers without behaviour of their own leave the message to the manager and the default.
intptr_t PassOn(bool& handled)
{
    handled = false;
    return 0;
}

}  // namespace

const TNotifyMap* WindowImplBase::GetNotifyMap() const
{
    static const TNotifyMap map{nullptr, {NotifyEntry<WindowImplBase>("click", "", &WindowImplBase::OnClick)}};
    return &map;
}

void WindowImplBase::Notify(TNotifyEvent& msg) { NotifyPump(msg); }

CControlUI* WindowImplBase::CreateControl(std::string_view) { return nullptr; }

uint32_t WindowImplBase::GetFramelessStyle() const { return GetStyle() & ~UI_WS_CAPTION; }

void WindowImplBase::OnClick(TNotifyEvent& msg)
{
    const std::string name = msg.sender != nullptr ? msg.sender->GetName() : std::string();
    if (name == "closebtn") Close(1);
    else if (name == "minbtn") SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    else if (name == "maxbtn") SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    else if (name == "restorebtn") SendMessage(WM_SYSCOMMAND, SC_RESTORE);
}

intptr_t WindowImplBase::OnDefaultKey(uintptr_t key)
{
    if (key == VK_ESCAPE) Close(1);
    return 0;
}

intptr_t WindowImplBase::MessageHandler(uint32_t message, uintptr_t wParam, intptr_t, bool&)
{
    // The default key runs, and the key still reaches the focused control.
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) OnDefaultKey(wParam);
    return 0;
}

intptr_t WindowImplBase::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    bool handled = true;
    const intptr_t result = Dispatch(message, wParam, lParam, handled);
    if (handled) return result;
    handled = true;
    const intptr_t appResult = HandleAppMessage(message, wParam, lParam, handled);
    if (handled) return appResult;
    intptr_t managerResult = 0;
    if (paintManager_.MessageHandler(message, wParam, lParam, managerResult)) return managerResult;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

intptr_t WindowImplBase::Dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled)
{
    switch (message) {
    case WM_CREATE: return OnCreate(message, wParam, lParam, handled);
    case WM_DESTROY: return OnDestroy(message, wParam, lParam, handled);
    case WM_SIZE: return OnSize(message, wParam, lParam, handled);
    case WM_SETFOCUS: return OnSetFocus(message, wParam, lParam, handled);
    case WM_KILLFOCUS: return OnKillFocus(message, wParam, lParam, handled);
    case WM_CLOSE: return OnClose(message, wParam, lParam, handled);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(message, wParam, lParam, handled);
    case WM_NCCALCSIZE: return OnNcCalcSize(message, wParam, lParam, handled);
    case WM_NCHITTEST: return OnNcHitTest(message, wParam, lParam, handled);
    case WM_NCPAINT: return OnNcPaint(message, wParam, lParam, handled);
    case WM_NCACTIVATE: return OnNcActivate(message, wParam, lParam, handled);
    case WM_KEYDOWN: return OnKeyDown(message, wParam, lParam, handled);
    case WM_CHAR: return OnChar(message, wParam, lParam, handled);
    case WM_SYSCOMMAND: return OnSysCommand(message, wParam, lParam, handled);
    case WM_MOUSEMOVE: return OnMouseMove(message, wParam, lParam, handled);
    case WM_LBUTTONDOWN: return OnLButtonDown(message, wParam, lParam, handled);
    case WM_LBUTTONUP: return OnLButtonUp(message, wParam, lParam, handled);
    case WM_MOUSEWHEEL: return OnMouseWheel(message, wParam, lParam, handled);
    case WM_MOUSEHOVER: return OnMouseHover(message, wParam, lParam, handled);
    default: handled = false; return 0;
    }
}

intptr_t WindowImplBase::OnClose(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnDestroy(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnMouseWheel(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnMouseHover(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnChar(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnKeyDown(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnKillFocus(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnSetFocus(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnLButtonDown(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnLButtonUp(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::OnMouseMove(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }
intptr_t WindowImplBase::HandleAppMessage(uint32_t, uintptr_t, intptr_t, bool& handled) { return PassOn(handled); }

intptr_t WindowImplBase::OnNcActivate(uint32_t, uintptr_t wParam, intptr_t, bool& handled)
{
    if (System() && System()->IsMinimized(GetHWND())) {
        handled = false;
        return 0;
    }
    return wParam == 0 ? 1 : 0;
}

intptr_t WindowImplBase::OnNcCalcSize(uint32_t, uintptr_t, intptr_t, bool&)
{
    // The whole window is client area; a maximised window fills the work area (the back end sizes it).
    return 0;
}

intptr_t WindowImplBase::OnNcPaint(uint32_t, uintptr_t, intptr_t, bool&) { return 0; }

intptr_t WindowImplBase::OnNcHitTest(uint32_t, uintptr_t, intptr_t lParam, bool&)
{
    if (System() == nullptr) return HTCLIENT;
    const Rect window = System()->GetWindowRect(GetHWND());
    const UIPoint pt{PointParamX(lParam) - window.left, PointParamY(lParam) - window.top};
    const UIRect client{0, 0, window.Width(), window.Height()};
    if (!System()->IsMaximized(GetHWND())) {
        const UIRect box = paintManager_.GetSizeBox();
        const bool left = pt.x < client.left + box.left;
        const bool right = pt.x >= client.right - box.right;
        if (pt.y < client.top + box.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (pt.y >= client.bottom - box.bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    const UIRect caption = paintManager_.GetCaptionRect();
    const bool inBand = pt.x >= client.left + caption.left && pt.x < client.right - caption.right &&
                        pt.y >= caption.top && pt.y < caption.bottom;
    if (!inBand) return HTCLIENT;
    CControlUI* control = paintManager_.FindControl(pt);
    return (control == nullptr || IsClickableInCaption(*control)) ? HTCLIENT : HTCAPTION;
}

intptr_t WindowImplBase::OnGetMinMaxInfo(uint32_t, uintptr_t, intptr_t lParam, bool& handled)
{
    auto* info = reinterpret_cast<TMinMaxInfo*>(lParam);
    if (info == nullptr || System() == nullptr) return 0;
    const Rect work = System()->GetWorkArea(GetHWND());
    info->maxPosition = UIPoint{0, 0};
    info->maxSize = UIPoint{work.Width(), work.Height()};
    const UISize minInfo = paintManager_.GetMinInfo();
    const UISize maxInfo = paintManager_.GetMaxInfo();
    if (minInfo.cx > 0) info->minTrackSize.x = minInfo.cx;
    if (minInfo.cy > 0) info->minTrackSize.y = minInfo.cy;
    if (maxInfo.cx > 0) info->maxTrackSize.x = maxInfo.cx;
    if (maxInfo.cy > 0) info->maxTrackSize.y = maxInfo.cy;
    handled = false;
    return 0;
}

intptr_t WindowImplBase::OnSize(uint32_t, uintptr_t wParam, intptr_t lParam, bool& handled)
{
    const UISize round = paintManager_.GetRoundCorner();
    if (wParam != SIZE_MINIMIZED && (round.cx != 0 || round.cy != 0) && System()) {
        System()->SetRoundRegion(GetHWND(), round);
    }
    (void)lParam;
    handled = false;
    return 0;
}

intptr_t WindowImplBase::OnSysCommand(uint32_t message, uintptr_t wParam, intptr_t lParam, bool&)
{
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        PostMessage(WM_CLOSE);
        return 0;
    }
    const bool wasMaximized = System() && System()->IsMaximized(GetHWND());
    const intptr_t result = CWindowWnd::HandleMessage(message, wParam, lParam);
    const bool maximized = System() && System()->IsMaximized(GetHWND());
    if (maximized != wasMaximized) {
        ShowControl("maxbtn", !maximized);
        ShowControl("restorebtn", maximized);
    }
    return result;
}

void WindowImplBase::ShowControl(const char* name, bool visible)
{
    if (CControlUI* control = paintManager_.FindControl(name)) control->SetVisible(visible);
}

bool WindowImplBase::LocateSkin()
{
    if (CResourceSettings::GetResourcePath().empty()) {
        CResourceSettings::SetResourcePath(CResourceSettings::GetInstancePath() + GetSkinDir());
    }
    switch (GetSkinSource()) {
    case ResourceKind::Zip: CResourceSettings::SetArchiveFromFile(GetArchiveFile(), true); return true;
    case ResourceKind::ZipResource: return CResourceSettings::UseArchiveResource(GetSkinResourceId());
    default: return true;
    }
}

intptr_t WindowImplBase::OnCreate(uint32_t, uintptr_t, intptr_t, bool&)
{
    SetStyle((GetStyle() & ~UI_WS_CAPTION) | UI_WS_CLIPSIBLINGS | UI_WS_CLIPCHILDREN);
    paintManager_.Init(GetHWND());
    paintManager_.AddPreMessageFilter(this);
    if (!LocateSkin()) return 0;

    CDialogBuilder builder;
    const std::string skin = GetSkinXml();
    CControlUI* root = GetSkinSource() == ResourceKind::Resource
                           ? builder.Create(skin, "xml", this, &paintManager_)
                           : builder.Create(skin, {}, this, &paintManager_);
    if (root == nullptr) {
        if (System()) System()->ShowErrorMessage("加载资源文件失败", "SkinUI");
        std::exit(1);
    }
    paintManager_.AttachDialog(root);
    paintManager_.AddNotifier(this);
    InitWindow();
    return 0;
}

void WindowImplBase::OnWindowGone()
{
    paintManager_.RemovePreMessageFilter(this);
    paintManager_.RemoveNotifier(this);
    paintManager_.ReleaseTree();
}

}  // namespace SkinUI
