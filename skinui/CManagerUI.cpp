#include "skinui/CManagerUI.h"

#include "platform/TextConversion.h"
#include "platform/WindowMessages.h"
#include "skinui/AttributeValue.h"
#include "skinui/CControlUI.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/CRenderEngine.h"

#include <algorithm>
#include <utility>

namespace SkinUI {

using namespace Platform;

namespace {

// Every manager bound to a window, for the message loop's pre-dispatch step.
std::vector<CManagerUI*>& Managers()
{
    static std::vector<CManagerUI*> managers;
    return managers;
}

bool IsMouseMessage(uint32_t message) { return message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL; }

UIPoint PointOf(intptr_t lParam) { return UIPoint{PointParamX(lParam), PointParamY(lParam)}; }

uint16_t KeyStateOf(uintptr_t wParam)
{
    return static_cast<uint16_t>(wParam & (MK_LBUTTON | MK_RBUTTON | MK_SHIFT | MK_CONTROL | MK_ALT));
}

template <typename T>
bool AddUnique(std::vector<T*>& list, T* item)
{
    if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) return false;
    list.push_back(item);
    return true;
}

template <typename T>
bool RemoveItem(std::vector<T*>& list, T* item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

CControlUI* FindFirst(CControlUI* control, void*) { return control; }

// The first filter (in order) that marks the message handled consumes it with its answer.
bool RunFilters(const std::vector<IMessageFilterUI*>& registered, uint32_t message, uintptr_t wParam, intptr_t lParam,
                intptr_t& result)
{
    // A copy: a filter may register or remove filters while it runs.
    const std::vector<IMessageFilterUI*> filters = registered;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        const intptr_t answer = filter->MessageHandler(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return false;
}

CControlUI* CollectAll(CControlUI* control, void* data)
{
    static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
    return nullptr;
}

}  // namespace

CManagerUI::CManagerUI() : render_(std::make_unique<CRenderEngine>(this)) {}

CManagerUI::~CManagerUI() { ReleaseTree(); }

void CManagerUI::ReleaseTree()
{
    RemoveItem(Managers(), this);
    for (const TimerInfo& timer : timers_) {
        if (!timer.killed && System()) System()->KillTimer(timer.window, timer.nativeId);
    }
    timers_.clear();
    asyncNotify_.clear();
    // Controls still bound to this manager reap themselves while being destroyed.
    if (CControlUI* root = std::exchange(root_, nullptr)) root->Delete();
    for (CControlUI* control : std::exchange(delayedCleanup_, {})) control->Delete();
    focus_ = hover_ = pressed_ = keyTarget_ = nullptr;
    nameMap_.clear();
    mouseLeaveNeeded_.clear();
    postPaintControls_.clear();
    window_ = 0;
}

WindowSystem* CManagerUI::System() const { return WindowSystem::Current(); }

void CManagerUI::Init(WindowId window)
{
    nameMap_.clear();
    focus_ = hover_ = pressed_ = keyTarget_ = nullptr;
    window_ = window;
    AddUnique(Managers(), this);
}

CRenderEngine& CManagerUI::GetRenderEngine() { return *render_; }

bool CManagerUI::AttachDialog(CControlUI* root)
{
    if (root_ != nullptr) AddDelayedCleanup(root_);
    focus_ = hover_ = pressed_ = keyTarget_ = nullptr;
    asyncNotify_.clear();
    nameMap_.clear();
    root_ = root;
    updateNeeded_ = true;
    firstLayout_ = true;
    focusNeeded_ = true;
    if (root_ == nullptr) return false;
    InitControls(root_, nullptr);
    return true;
}

void CManagerUI::InitControls(CControlUI* control, CControlUI* parent)
{
    if (control == nullptr) return;
    control->SetManager(this, parent, true);
    std::vector<CControlUI*> subtree;
    control->FindControl(CollectAll, &subtree, UIFIND_ALL);
    for (CControlUI* each : subtree) {
        const std::string name = each->GetName();
        if (!name.empty()) nameMap_.try_emplace(name, each);
    }
}

void CManagerUI::ReapObjects(CControlUI* control)
{
    if (control == nullptr) return;
    for (CControlUI** slot : {&focus_, &hover_, &pressed_, &keyTarget_, &root_}) {
        if (*slot == control) *slot = nullptr;
    }
    KillTimer(control);
    std::erase_if(nameMap_, [control](const auto& entry) { return entry.second == control; });
    RemoveItem(mouseLeaveNeeded_, control);
    RemoveItem(postPaintControls_, control);
    RemoveItem(delayedCleanup_, control);
    std::erase_if(asyncNotify_, [control](const TNotifyEvent& msg) { return msg.sender == control; });
}

CControlUI* CManagerUI::FindControl(std::string_view name) const
{
    auto it = nameMap_.find(name);
    return it == nameMap_.end() ? nullptr : it->second;
}

void* CManagerUI::FindControlInterface(std::string_view name, std::string_view interfaceName) const
{
    CControlUI* control = FindControl(name);
    return control != nullptr ? control->GetInterface(interfaceName) : nullptr;
}

CControlUI* CManagerUI::FindControl(UIPoint pt) const
{
    if (root_ == nullptr) return nullptr;
    return root_->FindControl(FindFirst, &pt, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

bool CManagerUI::AddNotifier(INotifyUI* notifier) { return AddUnique(notifiers_, notifier); }
bool CManagerUI::RemoveNotifier(INotifyUI* notifier) { return RemoveItem(notifiers_, notifier); }
bool CManagerUI::AddPreMessageFilter(IMessageFilterUI* filter) { return AddUnique(preMessageFilters_, filter); }
bool CManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter) { return RemoveItem(preMessageFilters_, filter); }
bool CManagerUI::AddMessageFilter(IMessageFilterUI* filter) { return AddUnique(messageFilters_, filter); }
bool CManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) { return RemoveItem(messageFilters_, filter); }
bool CManagerUI::AddPostPaint(CControlUI* control) { return AddUnique(postPaintControls_, control); }
bool CManagerUI::RemovePostPaint(CControlUI* control) { return RemoveItem(postPaintControls_, control); }

void CManagerUI::SendNotify(TNotifyEvent& msg, bool async, bool allowRepeat)
{
    msg.timestamp = System() ? System()->TickCount() : 0;
    msg.mouse = lastMouse_;
    if (msg.sender != nullptr && !msg.sender->GetVirtualWnd().empty()) msg.virtualWnd = msg.sender->GetVirtualWnd();
    if (!async) {
        DeliverNotify(msg);
        return;
    }
    if (!allowRepeat) {
        for (TNotifyEvent& queued : asyncNotify_) {
            if (queued.sender == msg.sender && queued.type == msg.type) {
                queued.wParam = msg.wParam;
                queued.lParam = msg.lParam;
                queued.mouse = msg.mouse;
                queued.timestamp = msg.timestamp;
                return;
            }
        }
    }
    asyncNotify_.push_back(msg);
    PostCleanupMessage();
}

void CManagerUI::SendNotify(CControlUI* control, std::string_view type, uintptr_t wParam, intptr_t lParam, bool async)
{
    TNotifyEvent msg;
    msg.type = std::string(type);
    msg.sender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async, true);
}

void CManagerUI::DeliverNotify(TNotifyEvent& msg)
{
    if (msg.sender != nullptr) msg.sender->RunNotifyDelegates(msg);
    // A copy: a notifier may register or remove notifiers while it runs.
    const std::vector<INotifyUI*> notifiers = notifiers_;
    for (INotifyUI* notifier : notifiers) {
        if (std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) notifier->Notify(msg);
    }
}

void CManagerUI::PostCleanupMessage()
{
    if (asyncPosted_ || window_ == 0 || System() == nullptr) return;
    asyncPosted_ = true;
    System()->PostMessage(Message{window_, WM_APP_CLEANUP, 0, 0});
}

void CManagerUI::DrainCleanup()
{
    asyncPosted_ = false;
    while (!asyncNotify_.empty()) {
        TNotifyEvent msg = asyncNotify_.front();
        asyncNotify_.pop_front();
        DeliverNotify(msg);
    }
    for (CControlUI* control : std::exchange(delayedCleanup_, {})) control->Delete();
}

void CManagerUI::AddDelayedCleanup(CControlUI* control)
{
    if (control == nullptr) return;
    // Detached from its parent, which may be gone before the cleanup runs.
    control->SetManager(this, nullptr, false);
    AddUnique(delayedCleanup_, control);
    PostCleanupMessage();
}

void CManagerUI::AddMouseLeaveNeeded(CControlUI* control) { AddUnique(mouseLeaveNeeded_, control); }

bool CManagerUI::SetTimer(CControlUI* control, uint32_t timerId, uint32_t elapseMs)
{
    if (control == nullptr || window_ == 0 || System() == nullptr) return false;
    for (TimerInfo& timer : timers_) {
        if (timer.control == control && timer.window == window_ && timer.localId == timerId) {
            if (!timer.killed) return false;
            if (!System()->SetTimer(window_, timer.nativeId, elapseMs)) return false;
            timer.killed = false;
            return true;
        }
    }
    timerCounter_ = (timerCounter_ + 1) % 255;
    if (!System()->SetTimer(window_, timerCounter_, elapseMs)) return false;
    timers_.push_back(TimerInfo{control, timerId, window_, timerCounter_, false});
    return true;
}

bool CManagerUI::KillTimer(CControlUI* control, uint32_t timerId)
{
    for (TimerInfo& timer : timers_) {
        if (timer.control == control && timer.window == window_ && timer.localId == timerId) {
            if (!timer.killed && System()) System()->KillTimer(timer.window, timer.nativeId);
            timer.killed = true;
            return true;
        }
    }
    return false;
}

void CManagerUI::KillTimer(CControlUI* control)
{
    std::erase_if(timers_, [this, control](const TimerInfo& timer) {
        if (timer.control != control) return false;
        if (!timer.killed && System()) System()->KillTimer(timer.window, timer.nativeId);
        return true;
    });
}

void CManagerUI::OnTimer(uintptr_t nativeId)
{
    for (const TimerInfo& timer : timers_) {
        if (timer.window == window_ && timer.nativeId == nativeId && !timer.killed) {
            SendEvent(timer.control, UIEvent::Timer, timer.localId);
            return;
        }
    }
}

void CManagerUI::SendEvent(CControlUI* control, UIEvent type, uintptr_t wParam, intptr_t lParam, uint32_t key)
{
    if (control == nullptr) return;
    TEventUI event;
    event.type = type;
    event.sender = control;
    event.timestamp = System() ? System()->TickCount() : 0;
    event.mouse = lastMouse_;
    event.key = key;
    const bool mouse = type == UIEvent::ButtonDown || type == UIEvent::DblClick || type == UIEvent::ButtonUp ||
                       type == UIEvent::MouseMove || type == UIEvent::RButtonDown;
    const bool keyboard = type == UIEvent::KeyDown || type == UIEvent::KeyUp || type == UIEvent::Char;
    // Mouse and key messages carry their own key state; other events take the held modifiers.
    if (mouse) event.keyState = KeyStateOf(wParam);
    else if (keyboard) event.keyState = KeyStateOf(static_cast<uintptr_t>(lParam));
    else event.keyState = static_cast<uint16_t>(System() ? System()->GetKeyState() : 0);
    event.wParam = wParam;
    event.lParam = lParam;
    control->Event(event);
}

void CManagerUI::SetFocus(CControlUI* control, bool focusWnd)
{
    if (focusWnd && System() && System()->GetFocus() != window_ && control != focus_ && !noActivate_) {
        System()->SetFocus(window_);
    }
    if (control == focus_) return;
    if (CControlUI* old = std::exchange(focus_, nullptr)) {
        SendEvent(old, UIEvent::KillFocus);
        SendNotify(old, "killfocus");
    }
    if (control == nullptr || control->GetManager() != this || !control->IsVisible() || !control->IsEnabled()) return;
    focus_ = control;
    SendEvent(control, UIEvent::SetFocus);
    SendNotify(control, "setfocus");
}

std::vector<CControlUI*> CManagerUI::TabOrder() const
{
    std::vector<CControlUI*> visible;
    if (root_ != nullptr) root_->FindControl(CollectAll, &visible, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
    std::erase_if(visible, [](CControlUI* control) { return (control->GetControlFlags() & UIFLAG_TABSTOP) == 0; });
    return visible;
}

bool CManagerUI::SetNextTabControl(bool forward)
{
    const std::vector<CControlUI*> order = TabOrder();
    if (order.empty()) return false;
    auto at = std::find(order.begin(), order.end(), focus_);
    CControlUI* next = nullptr;
    if (at == order.end()) next = forward ? order.front() : order.back();
    else if (forward) next = (at + 1 == order.end()) ? order.front() : *(at + 1);
    else next = (at == order.begin()) ? order.back() : *(at - 1);
    SetFocus(next);
    return true;
}

void CManagerUI::ReleaseCapture()
{
    if (System()) System()->ReleaseCapture();
    mouseCapture_ = false;
}

void CManagerUI::NeedUpdate()
{
    updateNeeded_ = true;
    if (System() && window_ != 0) {
        const Rect rect = System()->GetWindowRect(window_);
        Invalidate(UIRect{0, 0, rect.Width(), rect.Height()});
    }
}

void CManagerUI::Invalidate(const UIRect& rect)
{
    if (System() && window_ != 0) System()->Invalidate(window_, rect);
}

void CManagerUI::SetInitSize(int cx, int cy)
{
    initSize_ = {cx, cy};
    if (root_ == nullptr && window_ != 0 && System()) {
        const Rect rect = System()->GetWindowRect(window_);
        System()->MoveWindow(window_, Rect{rect.left, rect.top, rect.left + cx, rect.top + cy});
    }
}

void CManagerUI::SetOpacity(uint8_t opacity)
{
    opacity_ = opacity;
    if (window_ != 0 && System()) System()->SetOpacity(window_, opacity);
}

void CManagerUI::SetWindowAttribute(std::string_view name, std::string_view value)
{
    auto is = [name](std::string_view expected) { return EqualsIgnoringCase(name, expected); };
    auto flag = [value] { return EqualsIgnoringCase(value, "true"); };
    if (is("size")) {
        const UISize size = ParseSize(value);
        SetInitSize(size.cx, size.cy);
    } else if (is("sizebox")) {
        sizeBox_ = ParseRect(value);
    } else if (is("caption")) {
        caption_ = ParseRect(value);
    } else if (is("roundcorner")) {
        roundCorner_ = ParseSize(value);
    } else if (is("mininfo")) {
        minInfo_ = ParseSize(value);
    } else if (is("maxinfo")) {
        maxInfo_ = ParseSize(value);
    } else if (is("showdirty")) {
        showDirty_ = flag();
    } else if (name == "noactivate") {
        noActivate_ = flag();
    } else if (is("opacity")) {
        SetOpacity(static_cast<uint8_t>(std::clamp(ParseInt(value), 0, 255)));
    } else if (name == "layeredopacity" || name == "layeredimage") {
        // Per-pixel layered drawing is not used by these skins.
    } else if (is("disabledfontcolor")) {
        disabledColor_ = ParseColor(value);
    } else if (is("defaultfontcolor")) {
        fontColor_ = ParseColor(value);
    } else if (is("linkfontcolor")) {
        linkColor_ = ParseColor(value);
    } else if (is("linkhoverfontcolor")) {
        linkHoverColor_ = ParseColor(value);
    } else if (is("selectedcolor")) {
        selectedColor_ = ParseColor(value);
    } else if (!name.empty() && !value.empty()) {
        customAttributes_.try_emplace(std::string(name), std::string(value));
    }
}

const std::string* CManagerUI::GetWindowCustomAttribute(std::string_view name) const
{
    auto it = customAttributes_.find(name);
    return it == customAttributes_.end() ? nullptr : &it->second;
}

const TImageEntry* CManagerUI::GetImageEx(std::string_view name, std::string_view type, uint32_t mask, bool useHsl)
{
    return resources_.GetImage(std::string(name), std::string(type), mask, useHsl);
}

const PangoFontDescription* CManagerUI::GetFontDescription(int font)
{
    const TFontEntry* entry = resources_.GetFont(font);
    return entry != nullptr ? entry->font : nullptr;
}

int CManagerUI::GetFontLineHeight(int font) { return render_->FontLineHeight(font); }

UISize CManagerUI::MeasureText(int font, std::string_view text, uint32_t style, int maxWidth)
{
    constexpr int kUnlimited = 1 << 20;
    const UIRect measured =
        render_->MeasureText(UIRect{0, 0, maxWidth > 0 ? maxWidth : kUnlimited, kUnlimited}, text, font, style);
    return UISize{measured.Width(), measured.Height()};
}

std::string CManagerUI::ReplaceTokens(std::string_view text) const
{
    std::string replaced(text);
    CMultiLanguage::ReplaceTokens(replaced);
    return replaced;
}

std::string CManagerUI::GetClipboardText() const { return System() ? System()->GetClipboardText() : std::string(); }

void CManagerUI::SetClipboardText(const std::string& text) const
{
    if (System()) System()->SetClipboardText(text);
}

UIPoint CManagerUI::ScreenToClient(Point screen) const
{
    const Rect rect = System() ? System()->GetWindowRect(window_) : Rect{};
    return UIPoint{screen.x - rect.left, screen.y - rect.top};
}

bool CManagerUI::PreMessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result)
{
    if (RunFilters(preMessageFilters_, message, wParam, lParam, result)) return true;
    if (message == WM_KEYDOWN && wParam == VK_TAB) {
        const bool backwards = (static_cast<uintptr_t>(lParam) & MK_SHIFT) != 0;
        SetNextTabControl(!backwards);
        result = 0;
        return true;
    }
    return false;
}

bool CManagerUI::TranslateMessage(const Message& message)
{
    const std::vector<CManagerUI*> managers = Managers();
    for (CManagerUI* manager : managers) {
        if (manager->window_ != message.window || message.window == 0) continue;
        intptr_t result = 0;
        if (manager->PreMessageHandler(message.message, message.wParam, message.lParam, result)) return true;
    }
    return false;
}

bool CManagerUI::MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result)
{
    result = 0;
    if (window_ == 0) return false;
    if (RunFilters(messageFilters_, message, wParam, lParam, result)) {
        if (IsMouseMessage(message) && message != WM_MOUSEWHEEL) lastMouse_ = PointOf(lParam);
        return true;
    }
    switch (message) {
    case WM_APP_CLEANUP: DrainCleanup(); return true;
    case WM_CLOSE: OnClose(); return false;
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: Paint(); return true;
    case WM_SIZE:
        if (focus_ != nullptr) SendEvent(focus_, UIEvent::WindowSize);
        if (root_ != nullptr) root_->NeedUpdate();
        NeedUpdate();
        return true;
    case WM_TIMER: OnTimer(wParam); return true;
    case WM_MOUSEHOVER: OnMouseHover(PointOf(lParam)); return true;
    case WM_MOUSELEAVE: OnMouseLeave(); return true;
    case WM_MOUSEMOVE: OnMouseMove(PointOf(lParam), wParam); return true;
    case WM_LBUTTONDOWN: OnButtonDown(PointOf(lParam), wParam, UIEvent::ButtonDown); return true;
    case WM_LBUTTONDBLCLK: OnButtonDown(PointOf(lParam), wParam, UIEvent::DblClick); return true;
    case WM_LBUTTONUP: OnButtonUp(PointOf(lParam), wParam); return true;
    case WM_RBUTTONDOWN: {
        lastMouse_ = PointOf(lParam);
        CControlUI* control = FindControl(lastMouse_);
        if (control == nullptr || control->GetManager() != this) return true;
        SetFocus(control);
        SendEvent(control, UIEvent::RButtonDown, wParam, lParam);
        pressed_ = control;
        return true;
    }
    case WM_CONTEXTMENU:
        if (pressed_ != nullptr) SendEvent(std::exchange(pressed_, nullptr), UIEvent::ContextMenu, wParam, lParam);
        return true;
    case WM_MOUSEWHEEL: OnMouseWheel(PointOf(lParam), wParam); return true;
    case WM_SETCURSOR: UpdateCursor(FindControl(lastMouse_)); result = 1; return true;
    case WM_KEYDOWN:
        if (focus_ == nullptr) return false;
        keyTarget_ = focus_;
        SendEvent(focus_, UIEvent::KeyDown, wParam, lParam, static_cast<uint32_t>(wParam));
        return true;
    case WM_KEYUP:
        if (keyTarget_ == nullptr) return false;
        SendEvent(keyTarget_, UIEvent::KeyUp, wParam, lParam, static_cast<uint32_t>(wParam));
        return true;
    case WM_CHAR:
        if (focus_ == nullptr) return false;
        SendEvent(focus_, UIEvent::Char, wParam, lParam, static_cast<uint32_t>(wParam));
        return true;
    default: return false;
    }
}

void CManagerUI::UpdateCursor(CControlUI* control)
{
    if (mouseCapture_ || System() == nullptr) return;
    if (control != nullptr && (control->GetControlFlags() & UIFLAG_SETCURSOR) != 0) {
        SendEvent(control, UIEvent::SetCursor);
    } else {
        System()->SetCursor(CursorKind::Arrow);
    }
}

void CManagerUI::LeaveHover(UIPoint pt)
{
    for (CControlUI* control : std::exchange(mouseLeaveNeeded_, {})) {
        if (control != hover_) SendEvent(control, UIEvent::MouseLeave, 0, MakePointParam(pt.x, pt.y));
    }
    if (hover_ != nullptr) SendEvent(std::exchange(hover_, nullptr), UIEvent::MouseLeave, 0, MakePointParam(pt.x, pt.y));
    if (System()) System()->HideTooltip();
}

void CManagerUI::OnMouseMove(UIPoint pt, uintptr_t wParam)
{
    if (!mouseTracking_ && System()) {
        System()->TrackMouse(window_, hoverTime_);
        mouseTracking_ = true;
    }
    lastMouse_ = pt;
    CControlUI* control = FindControl(pt);
    UpdateCursor(control);
    if (control != nullptr && control->GetManager() != this) return;
    if (control != hover_ && !mouseCapture_) {
        LeaveHover(pt);
        if (control != nullptr) {
            hover_ = control;
            SendEvent(control, UIEvent::MouseEnter, wParam, MakePointParam(pt.x, pt.y));
        }
    }
    if (pressed_ != nullptr) SendEvent(pressed_, UIEvent::MouseMove, wParam, MakePointParam(pt.x, pt.y));
    else if (control != nullptr) SendEvent(control, UIEvent::MouseMove, wParam, MakePointParam(pt.x, pt.y));
}

void CManagerUI::OnButtonDown(UIPoint pt, uintptr_t wParam, UIEvent type)
{
    if (!noActivate_ && System() && System()->GetFocus() != window_) System()->SetFocus(window_);
    lastMouse_ = pt;
    CControlUI* control = FindControl(pt);
    if (control == nullptr || control->GetManager() != this) return;
    pressed_ = control;
    SetFocus(control);
    if (System()) System()->SetCapture(window_);
    mouseCapture_ = true;
    SendEvent(control, type, wParam, MakePointParam(pt.x, pt.y));
}

void CManagerUI::OnButtonUp(UIPoint pt, uintptr_t wParam)
{
    lastMouse_ = pt;
    ReleaseCapture();
    if (pressed_ == nullptr) return;
    SendEvent(std::exchange(pressed_, nullptr), UIEvent::ButtonUp, wParam, MakePointParam(pt.x, pt.y));
}

void CManagerUI::OnMouseHover(UIPoint pt)
{
    mouseTracking_ = false;
    if (hover_ == nullptr) return;
    SendEvent(hover_, UIEvent::MouseHover, 0, MakePointParam(pt.x, pt.y));
    const std::string tip = ReplaceTokens(hover_->GetToolTip());
    if (!tip.empty() && System()) System()->ShowTooltip(window_, tip, System()->GetCursorPos());
}

void CManagerUI::OnMouseLeave()
{
    mouseTracking_ = false;
    if (System() == nullptr) return;
    System()->HideTooltip();
    const UIPoint pt = ScreenToClient(System()->GetCursorPos());
    const Rect rect = System()->GetWindowRect(window_);
    const bool inside = System()->GetActiveWindow() == window_ && UIRect{0, 0, rect.Width(), rect.Height()}.Contains(pt);
    OnMouseMove(inside ? pt : UIPoint{-1, -1}, 0);
}

void CManagerUI::OnMouseWheel(UIPoint screen, uintptr_t wParam)
{
    const UIPoint pt = ScreenToClient(Point{screen.x, screen.y});
    const int16_t delta = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
    CControlUI* control = FindControl(pt);
    if (control != nullptr && control->GetManager() == this) {
        SendEvent(control, UIEvent::ScrollWheel, delta < 0 ? 1 : 0, MakePointParam(pt.x, pt.y));
    }
    OnMouseMove(lastMouse_, 0);
}

void CManagerUI::OnClose()
{
    if (hover_ != nullptr) SendEvent(std::exchange(hover_, nullptr), UIEvent::MouseLeave);
    if (pressed_ != nullptr) SendEvent(std::exchange(pressed_, nullptr), UIEvent::ButtonUp);
    SetFocus(nullptr, false);
    if (System() == nullptr) return;
    const WindowId owner = System()->GetOwner(window_);
    if (System()->GetActiveWindow() == window_ && owner != 0) System()->SetFocus(owner);
    System()->HideTooltip();
}

void CManagerUI::LayoutIfNeeded(const UIRect& client)
{
    if (!updateNeeded_ || client.IsEmpty() || root_ == nullptr) return;
    updateNeeded_ = false;
    if (root_->IsUpdateNeeded()) {
        root_->SetPos(client, true);
    } else {
        std::vector<CControlUI*> all;
        root_->FindControl(CollectAll, &all, UIFIND_VISIBLE | UIFIND_ME_FIRST);
        for (CControlUI* control : all) {
            if (control->IsUpdateNeeded()) control->SetPos(control->GetPos(), true);
        }
    }
    if (firstLayout_) {
        firstLayout_ = false;
        SendNotify(root_, "windowinit");
    }
}

void CManagerUI::Paint()
{
    if (System() == nullptr) return;
    UIRect update = System()->TakeUpdateRect(window_);
    const Rect rect = System()->GetWindowRect(window_);
    const UIRect client{0, 0, rect.Width(), rect.Height()};
    if (client.IsEmpty()) return;
    if (updateNeeded_) update = client;
    LayoutIfNeeded(client);
    if (focusNeeded_) {
        focusNeeded_ = false;
        SetNextTabControl();
    }
    update = update.Intersect(client);
    if (update.IsEmpty() || root_ == nullptr) return;
    render_->Resize(client.Width(), client.Height());
    render_->PushClip(update);
    render_->Clear(update);
    root_->Paint(*render_, update, nullptr);
    const std::vector<CControlUI*> postPaint = postPaintControls_;
    for (CControlUI* control : postPaint) control->DoPostPaint(*render_, update);
    if (showDirty_) render_->DrawRect(update, 1, 0xFFFF0000);
    render_->PopClip();
    System()->Present(window_, render_->Pixels(), render_->Width(), render_->Height(), render_->Stride(), update);
}

}  // namespace SkinUI
