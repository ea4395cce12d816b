#include "skinui/CWindowWnd.h"

#include "platform/ResourceTable.h"
#include "platform/WindowMessages.h"
#include "skinui/CImageLoader.h"
#include "skinui/TImageEntry.h"
#include "skinui/CManagerUI.h"

#include <algorithm>

namespace SkinUI {

using namespace Platform;

namespace {

constexpr uint32_t kPumpMilliseconds = 100;

WindowSystem* System() { return WindowSystem::Current(); }

}  // namespace

CWindowWnd::~CWindowWnd()
{
    // A window must not outlive the object its procedure calls.
    if (hwnd_ != 0 && System()) System()->DestroyWindow(hwnd_);
}

WindowId CWindowWnd::Create(WindowId parent, const std::string& title, uint32_t style, uint32_t, int x, int y,
                            int width, int height)
{
    if (System() == nullptr || hwnd_ != 0) return 0;
    style_ = style;
    WindowParams params;
    params.owner = parent;
    params.title = title;
    params.rect = Rect{x, y, x + std::max(0, width), y + std::max(0, height)};
    System()->CreateWindow(params, [this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
        return MessageProc(message, wParam, lParam);
    });
    if ((style & UI_WS_VISIBLE) != 0 && hwnd_ != 0) System()->ShowWindow(hwnd_, ShowMode::Normal);
    return hwnd_;
}

intptr_t CWindowWnd::MessageProc(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_NCCREATE) hwnd_ = static_cast<WindowId>(lParam);
    if (message == WM_NCDESTROY) {
        const intptr_t result = HandleMessage(message, wParam, lParam);
        hwnd_ = 0;
        OnWindowGone();
        return result;
    }
    return HandleMessage(message, wParam, lParam);
}

intptr_t CWindowWnd::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return DefWindowProc(message, wParam, lParam);
}

intptr_t CWindowWnd::DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t)
{
    switch (message) {
    case WM_NCCREATE: return 1;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_CLOSE:
        if (System()) System()->DestroyWindow(hwnd_);
        return 0;
    case WM_SYSCOMMAND:
        if (System() == nullptr) return 0;
        switch (wParam & 0xFFF0) {
        case SC_CLOSE: PostMessage(WM_CLOSE); break;
        case SC_MINIMIZE: System()->ShowWindow(hwnd_, ShowMode::Minimize); break;
        case SC_MAXIMIZE: System()->ShowWindow(hwnd_, ShowMode::Maximize); break;
        case SC_RESTORE: System()->ShowWindow(hwnd_, ShowMode::Restore); break;
        default: break;
        }
        return 0;
    default: return 0;
    }
}

uint32_t CWindowWnd::ShowModal()
{
    WindowSystem* system = System();
    if (system == nullptr || hwnd_ == 0) return 0;
    const WindowId self = hwnd_;
    const WindowId owner = system->GetOwner(self);
    system->ShowWindow(self, ShowMode::Normal);
    if (owner != 0) system->EnableWindow(owner, false);
    auto releaseOwner = [system, owner] {
        if (owner == 0 || !system->IsWindow(owner)) return;
        system->EnableWindow(owner, true);
        system->SetFocus(owner);
    };
    uint32_t result = 0;
    Message message;
    bool quit = false;
    while (system->IsWindow(self)) {
        if (!system->GetMessage(message)) {
            quit = true;
            break;
        }
        if (message.message == WM_CLOSE && message.window == self) {
            result = static_cast<uint32_t>(message.wParam);
            releaseOwner();
        }
        if (!CManagerUI::TranslateMessage(message)) system->DispatchMessage(message);
    }
    releaseOwner();
    if (quit) system->PostQuitMessage(static_cast<int>(static_cast<intptr_t>(message.wParam)));
    return result;
}

void CWindowWnd::Close(uint32_t code)
{
    if (hwnd_ != 0 && System() && System()->IsWindow(hwnd_)) PostMessage(WM_CLOSE, code);
}

void CWindowWnd::CenterWindow()
{
    WindowSystem* system = System();
    if (system == nullptr || hwnd_ == 0) return;
    const Rect window = system->GetWindowRect(hwnd_);
    const Rect work = system->GetWorkArea(hwnd_);
    const WindowId owner = system->GetOwner(hwnd_);
    const Rect centre = (owner != 0 && system->IsWindow(owner) && !system->IsMinimized(owner))
                            ? system->GetWindowRect(owner)
                            : work;
    int left = centre.left + (centre.Width() - window.Width()) / 2;
    int top = centre.top + (centre.Height() - window.Height()) / 2;
    left = std::max(work.left, std::min(left, work.right - window.Width()));
    top = std::max(work.top, std::min(top, work.bottom - window.Height()));
    system->MoveWindow(hwnd_, Rect{left, top, left + window.Width(), top + window.Height()});
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus)
{
    if (System() == nullptr || hwnd_ == 0) return;
    System()->ShowWindow(hwnd_, !show ? ShowMode::Hide : takeFocus ? ShowMode::Normal : ShowMode::NoActivate);
}

void CWindowWnd::SetIcon(int resourceId)
{
    if (System() == nullptr || hwnd_ == 0) return;
    const std::string_view bytes = ResourceTable::Find("ICON", resourceId);
    if (bytes.empty()) return;
    const std::unique_ptr<TImageEntry> icon = CImageLoader::Decode(bytes, 0);
    if (icon != nullptr) System()->SetIcon(hwnd_, icon->pixels, icon->width, icon->height);
}

intptr_t CWindowWnd::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return System() ? System()->SendMessage(hwnd_, message, wParam, lParam) : 0;
}

void CWindowWnd::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (System()) System()->PostMessage(Message{hwnd_, message, wParam, lParam});
}

bool CWindowWnd::PumpMessagesFor(WindowId window)
{
    WindowSystem* system = System();
    if (system == nullptr) return false;
    const uint32_t start = system->TickCount();
    for (;;) {
        if (window != 0 && !system->IsWindow(window)) return false;
        const uint32_t elapsed = system->TickCount() - start;
        if (elapsed > kPumpMilliseconds) return true;
        // Never wait past the end of the period: an idle queue must not hold the caller.
        Message message;
        const WindowSystem::Wait got =
            system->WaitMessage(message, static_cast<int>(kPumpMilliseconds - elapsed) + 1);
        if (got == WindowSystem::Wait::Quit) {
            system->PostQuitMessage(static_cast<int>(static_cast<intptr_t>(message.wParam)));
            return false;
        }
        if (got == WindowSystem::Wait::Message) system->DispatchMessage(message);
    }
}

}  // namespace SkinUI
