#include "platform/HeadlessWindowSystem.h"

#include "platform/WindowMessages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Platform {

HeadlessWindowSystem::HeadlessWindowSystem() = default;
HeadlessWindowSystem::~HeadlessWindowSystem() = default;

Rect HeadlessWindowSystem::GetWorkArea(WindowId) const { return workArea_; }

void HeadlessWindowSystem::TrackMouse(WindowId, uint32_t hoverMs) { hoverMs_ = hoverMs; }

void HeadlessWindowSystem::ShowTooltip(WindowId, const std::string& text, Point) { tooltip_ = text; }

bool HeadlessWindowSystem::NativeCreate(WindowId window, const WindowParams& params)
{
    NativeMove(window, params.rect);
    return true;
}

void HeadlessWindowSystem::NativeDestroy(WindowId window) { screens_.erase(window); }

void HeadlessWindowSystem::NativeMove(WindowId window, const Rect& rect)
{
    Screen& screen = screens_[window];
    const int width = std::max(0, rect.Width());
    const int height = std::max(0, rect.Height());
    if (screen.width == width && screen.height == height) return;
    screen = Screen{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, 0)};
}

void HeadlessWindowSystem::Present(WindowId window, const uint32_t* pixels, int width, int height, int stride,
                                   const Rect& part)
{
    auto it = screens_.find(window);
    if (it == screens_.end() || pixels == nullptr) return;
    Screen& screen = it->second;
    const Rect area = part.Intersect({0, 0, std::min(width, screen.width), std::min(height, screen.height)});
    for (int y = area.top; y < area.bottom; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(pixels) +
                                                            static_cast<size_t>(y) * stride);
        std::memcpy(&screen.pixels[static_cast<size_t>(y) * screen.width + area.left], row + area.left,
                    static_cast<size_t>(area.Width()) * sizeof(uint32_t));
    }
}

void HeadlessWindowSystem::InjectMouse(WindowId window, uint32_t message, int x, int y, uint32_t keyState)
{
    // A disabled window (the owner of a modal dialog) gets no input.
    if (!IsWindowEnabled(window)) return;
    const Rect rect = GetWindowRect(window);
    cursor_ = Point{rect.left + x, rect.top + y};
    PostMessage(Message{window, message, keyState, MakePointParam(x, y)});
}

void HeadlessWindowSystem::InjectKey(uint32_t message, uintptr_t key, uint32_t keyState)
{
    keyState_ = keyState;
    if (!IsWindowEnabled(GetFocus())) return;
    PostMessage(Message{GetFocus(), message, key, static_cast<intptr_t>(keyState)});
}

uint32_t HeadlessWindowSystem::PresentedPixel(WindowId window, int x, int y) const
{
    auto it = screens_.find(window);
    if (it == screens_.end()) return 0;
    const Screen& screen = it->second;
    if (x < 0 || y < 0 || x >= screen.width || y >= screen.height) return 0;
    return screen.pixels[static_cast<size_t>(y) * screen.width + x];
}

Size HeadlessWindowSystem::RoundRegion(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record ? record->roundRegion : Size{};
}

std::string HeadlessWindowSystem::Title(WindowId window) const
{
    const WindowRecord* record = Find(window);
    return record ? record->params.title : std::string();
}

void HeadlessWindowSystem::ShowErrorMessage(const std::string& text, const std::string& caption)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

void HeadlessWindowSystem::WaitForEvents(int timeoutMs) { Queue().Wait(timeoutMs); }

}  // namespace Platform
