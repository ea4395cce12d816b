#pragma once

#include "platform/HeadlessWindowSystem.h"
#include "skinui/CControlUI.h"
#include "skinui/CManagerUI.h"
#include "skinui/CRenderEngine.h"
#include "skinui/CResourceSettings.h"
#include "skinui/INotifyUI.h"
#include "skinui/TEventUI.h"
#include "skinui/TNotifyEvent.h"
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ControlsTest {

// Records every notification as "type@sender name".
class Recorder : public SkinUI::INotifyUI {
public:
    void Notify(SkinUI::TNotifyEvent& msg) override
    {
        seen.push_back(msg.type + "@" + (msg.sender != nullptr ? msg.sender->GetName() : ""));
        last = msg;
    }
    std::vector<std::string> seen;
    SkinUI::TNotifyEvent last;
};

// A control tree attached to a manager without a native window (headless window layer for
// the clipboard), driven by events handed straight to the controls.
class ManagerTest : public HostTest::HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        manager_.AddNotifier(&recorder_);
    }

    // Attaches `root` and lays it out over `rect`.
    template <typename T>
    T* Attach(T* root, SkinUI::UIRect rect)
    {
        manager_.AttachDialog(root);
        root->SetPos(rect);
        return root;
    }

    static void Send(SkinUI::CControlUI* control, SkinUI::UIEvent type, SkinUI::UIPoint at = {}, uint32_t key = 0,
                     uint16_t keyState = 0)
    {
        SkinUI::TEventUI event;
        event.type = type;
        event.sender = control;
        event.mouse = at;
        event.key = key;
        event.keyState = keyState;
        event.wParam = key;
        control->Event(event);
    }

    static void Press(SkinUI::CControlUI* control, SkinUI::UIPoint down, SkinUI::UIPoint up)
    {
        Send(control, SkinUI::UIEvent::ButtonDown, down, 0, SkinUI::kKeyStateLButton);
        Send(control, SkinUI::UIEvent::MouseMove, up, 0, SkinUI::kKeyStateLButton);
        Send(control, SkinUI::UIEvent::ButtonUp, up);
    }

    static SkinUI::UIPoint Center(const SkinUI::CControlUI* control)
    {
        const SkinUI::UIRect& rect = control->GetPos();
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    // Paints the attached tree on a fresh surface of the given size.
    SkinUI::CRenderEngine& Paint(int width, int height)
    {
        SkinUI::CRenderEngine& render = manager_.GetRenderEngine();
        render.Resize(width, height);
        render.Clear(SkinUI::UIRect{0, 0, width, height});
        manager_.GetRoot()->Paint(render, {0, 0, width, height}, nullptr);
        return render;
    }

    // Pixels of `area` for which `match` holds.
    template <typename Match>
    int CountPixels(const SkinUI::CRenderEngine& render, SkinUI::UIRect area, Match match) const
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                count += match(render.PixelAt(x, y)) ? 1 : 0;
            }
        }
        return count;
    }

    Recorder recorder_;
    SkinUI::CManagerUI manager_;
};

inline int Red(uint32_t pixel)
{
    return static_cast<int>((pixel >> 16) & 0xFF);
}
inline int Green(uint32_t pixel)
{
    return static_cast<int>((pixel >> 8) & 0xFF);
}
inline int Blue(uint32_t pixel)
{
    return static_cast<int>(pixel & 0xFF);
}

} // namespace ControlsTest
