#include "platform/WindowSystemBase.h"

#include "platform/WindowMessages.h"

namespace Platform {

WindowSystemBase::WindowSystemBase() = default;
WindowSystemBase::~WindowSystemBase() = default;

const WindowSystemBase::WindowRecord* WindowSystemBase::Find(WindowId window) const
{
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowSystemBase::WindowRecord* WindowSystemBase::Find(WindowId window)
{
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowId WindowSystemBase::CreateWindow(const WindowParams& params, WindowProc proc)
{
    if (!proc) return 0;
    const WindowId id = nextId_++;
    if (!NativeCreate(id, params)) return 0;
    auto record = std::make_unique<WindowRecord>();
    record->proc = std::move(proc);
    record->params = params;
    record->rect = params.rect;
    record->restoreRect = params.rect;
    windows_[id] = std::move(record);
    if (SendMessage(id, WM_NCCREATE, 0, static_cast<intptr_t>(id)) == 0 || SendMessage(id, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(id);
        return 0;
    }
    if (const WindowRecord* created = Find(id)) {
        const Rect rect = created->rect;
        SendMessage(id, WM_SIZE, SIZE_RESTORED, MakePointParam(rect.Width(), rect.Height()));
    }
    return IsWindow(id) ? id : 0;
}

void WindowSystemBase::DestroyWindow(WindowId window)
{
    if (!IsWindow(window)) return;
    if (capture_ == window) ReleaseCapture();
    SendMessage(window, WM_DESTROY, 0, 0);
    SendMessage(window, WM_NCDESTROY, 0, 0);
    queue_.KillTimers(window);
    NativeDestroy(window);
    windows_.erase(window);
    if (focus_ == window) focus_ = 0;
    if (active_ == window) active_ = 0;
}

bool WindowSystemBase::IsWindow(WindowId window) const { return Find(window) != nullptr; }

WindowId WindowSystemBase::GetOwner(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record ? record->params.owner : 0;
}

void WindowSystemBase::SetVisible(WindowId window, bool visible)
{
    WindowRecord* record = Find(window);
    if (!record || record->visible == visible) return;
    record->visible = visible;
    SendMessage(window, WM_SHOWWINDOW, visible ? 1 : 0, 0);
}

void WindowSystemBase::ShowWindow(WindowId window, ShowMode mode)
{
    WindowRecord* record = Find(window);
    if (!record) return;
    switch (mode) {
    case ShowMode::Hide:
        SetVisible(window, false);
        NativeShow(window, false, false);
        if (focus_ == window) MoveFocus(0);
        return;
    case ShowMode::Normal:
    case ShowMode::NoActivate:
        SetVisible(window, true);
        NativeShow(window, true, mode == ShowMode::Normal);
        if (mode == ShowMode::Normal) MoveFocus(window);
        Invalidate(window, {0, 0, record->rect.Width(), record->rect.Height()});
        return;
    case ShowMode::Minimize:
        record->minimized = true;
        NativeShow(window, false, false);
        SendMessage(window, WM_SIZE, SIZE_MINIMIZED, 0);
        if (focus_ == window) MoveFocus(0);
        return;
    case ShowMode::Maximize:
        if (!record->maximized) record->restoreRect = record->rect;
        record->minimized = false;
        record->maximized = true;
        SetVisible(window, true);
        NativeShow(window, true, true);
        ApplyRect(window, GetWorkArea(window), SIZE_MAXIMIZED);
        return;
    case ShowMode::Restore:
        SetVisible(window, true);
        record->minimized = false;
        NativeShow(window, true, true);
        if (record->maximized) {
            record->maximized = false;
            ApplyRect(window, record->restoreRect, SIZE_RESTORED);
        } else {
            SendMessage(window, WM_SIZE, SIZE_RESTORED, MakePointParam(record->rect.Width(), record->rect.Height()));
        }
        return;
    }
}

bool WindowSystemBase::IsVisible(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record && record->visible && !record->minimized;
}

bool WindowSystemBase::IsMinimized(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record && record->minimized;
}

bool WindowSystemBase::IsMaximized(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record && record->maximized;
}

void WindowSystemBase::MoveWindow(WindowId window, const Rect& rect)
{
    if (!Find(window)) return;
    ApplyRect(window, rect, SIZE_RESTORED);
}

void WindowSystemBase::ApplyRect(WindowId window, const Rect& rect, uintptr_t sizeKind, bool moveNative)
{
    WindowRecord* record = Find(window);
    if (!record) return;
    const bool resized = rect.Width() != record->rect.Width() || rect.Height() != record->rect.Height();
    const bool moved = rect.left != record->rect.left || rect.top != record->rect.top;
    record->rect = rect;
    if (moveNative) NativeMove(window, rect);
    if (moved) SendMessage(window, WM_MOVE, 0, MakePointParam(rect.left, rect.top));
    if (!resized) return;
    Invalidate(window, {0, 0, rect.Width(), rect.Height()});
    SendMessage(window, WM_SIZE, sizeKind, MakePointParam(rect.Width(), rect.Height()));
}

Rect WindowSystemBase::GetWindowRect(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record ? record->rect : Rect{};
}

void WindowSystemBase::SetRoundRegion(WindowId window, Size ellipse)
{
    WindowRecord* record = Find(window);
    if (!record) return;
    record->roundRegion = ellipse;
    NativeRegion(window, record->rect, ellipse);
}

void WindowSystemBase::SetTitle(WindowId window, const std::string& title)
{
    WindowRecord* record = Find(window);
    if (!record) return;
    record->params.title = title;
    NativeTitle(window, title);
}

void WindowSystemBase::SetOpacity(WindowId window, uint8_t opacity)
{
    if (Find(window)) NativeOpacity(window, opacity);
}

void WindowSystemBase::EnableWindow(WindowId window, bool enable)
{
    WindowRecord* record = Find(window);
    if (!record || record->enabled == enable) return;
    record->enabled = enable;
    if (!enable && capture_ == window) ReleaseCapture();
    SendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
}

bool WindowSystemBase::IsWindowEnabled(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record && record->enabled;
}

void WindowSystemBase::SetFocus(WindowId window)
{
    if (window != 0 && !IsWindow(window)) return;
    MoveFocus(window);
}

void WindowSystemBase::MoveFocus(WindowId window)
{
    if (focus_ == window) return;
    const WindowId old = focus_;
    const WindowId oldActive = active_;
    focus_ = window;
    active_ = window;
    if (window != 0) NativeFocus(window);
    if (oldActive != window) {
        if (IsWindow(oldActive)) SendMessage(oldActive, WM_ACTIVATE, 0, static_cast<intptr_t>(window));
        if (IsWindow(window)) SendMessage(window, WM_ACTIVATE, 1, static_cast<intptr_t>(oldActive));
    }
    if (IsWindow(old)) SendMessage(old, WM_KILLFOCUS, window, 0);
    if (IsWindow(window) && focus_ == window) SendMessage(window, WM_SETFOCUS, old, 0);
}

void WindowSystemBase::SetCapture(WindowId window)
{
    if (!IsWindow(window)) return;
    capture_ = window;
    NativeCapture(window);
}

void WindowSystemBase::ReleaseCapture()
{
    if (capture_ == 0) return;
    capture_ = 0;
    NativeCapture(0);
}

bool WindowSystemBase::SetTimer(WindowId window, uint32_t id, uint32_t intervalMs)
{
    return IsWindow(window) && queue_.SetTimer(window, id, intervalMs);
}

void WindowSystemBase::KillTimer(WindowId window, uint32_t id) { queue_.KillTimer(window, id); }

void WindowSystemBase::PostMessage(const Message& message) { queue_.Post(message); }

void WindowSystemBase::PostQuitMessage(int exitCode) { queue_.PostQuit(exitCode); }

intptr_t WindowSystemBase::SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    WindowRecord* record = Find(window);
    if (!record) return 0;
    // A copy: the procedure may destroy its own window.
    WindowProc proc = record->proc;
    return proc(message, wParam, lParam);
}

intptr_t WindowSystemBase::DispatchMessage(const Message& message)
{
    const intptr_t result = SendMessage(message.window, message.message, message.wParam, message.lParam);
    // A paint handler that did not take its area validates it, as the default procedure would.
    if (message.message == WM_PAINT) {
        if (WindowRecord* record = Find(message.window)) record->invalid = {};
    }
    return result;
}

void WindowSystemBase::Invalidate(WindowId window, const Rect& rect)
{
    WindowRecord* record = Find(window);
    if (!record) return;
    const Rect client{0, 0, record->rect.Width(), record->rect.Height()};
    record->invalid = record->invalid.Union(rect.Intersect(client));
}

Rect WindowSystemBase::TakeUpdateRect(WindowId window)
{
    WindowRecord* record = Find(window);
    if (!record) return {};
    const Rect taken = record->invalid;
    record->invalid = {};
    return taken;
}

bool WindowSystemBase::TakeInvalidWindow(Message& message)
{
    for (const auto& [id, record] : windows_) {
        if (record->visible && !record->minimized && !record->invalid.IsEmpty()) {
            message = Message{id, WM_PAINT, 0, 0};
            return true;
        }
    }
    return false;
}

WindowSystem::Wait WindowSystemBase::WaitMessage(Message& message, int timeoutMs)
{
    const uint32_t start = TickCount();
    for (;;) {
        if (queue_.TakePosted(message)) return message.message == WM_QUIT ? Wait::Quit : Wait::Message;
        WaitForEvents(0);
        if (queue_.TakePosted(message)) return message.message == WM_QUIT ? Wait::Quit : Wait::Message;
        if (TakeInvalidWindow(message) || queue_.TakeDueTimer(message)) return Wait::Message;
        int wait = queue_.MillisecondsToNextTimer();
        if (timeoutMs >= 0) {
            const int left = timeoutMs - static_cast<int>(TickCount() - start);
            if (left <= 0) return Wait::TimedOut;
            if (wait < 0 || left < wait) wait = left;
        }
        WaitForEvents(wait);
    }
}

}  // namespace Platform
