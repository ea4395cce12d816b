#include "platform/WindowSystem.h"

#include "platform/HeadlessWindowSystem.h"
#include "platform/X11WindowSystem.h"

#include <cstdlib>
#include <cstring>

namespace Platform {

namespace {

std::unique_ptr<WindowSystem>& Slot()
{
    static std::unique_ptr<WindowSystem> system;
    return system;
}

std::unique_ptr<WindowSystem> FromEnvironment()
{
    const char* choice = std::getenv("NUVALO_WINDOW_SYSTEM");
    if (choice != nullptr && std::strcmp(choice, "headless") == 0) return std::make_unique<HeadlessWindowSystem>();
    return X11WindowSystem::Open();
}

}  // namespace

WindowSystem* WindowSystem::Current()
{
    if (!Slot()) Slot() = FromEnvironment();
    return Slot().get();
}

void WindowSystem::Select(std::unique_ptr<WindowSystem> system) { Slot() = std::move(system); }

}  // namespace Platform
