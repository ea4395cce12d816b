#pragma once

#include "platform/HeadlessWindowSystem.h"
#include "platform/WindowMessages.h"
#include "skinui/CButtonUI.h"
#include "skinui/CCheckBoxUI.h"
#include "skinui/CControlUI.h"
#include "skinui/CHorizontalLayoutUI.h"
#include "skinui/CLabelUI.h"
#include "skinui/CManagerUI.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CSkinFrame.h"
#include "skinui/CVerticalLayoutUI.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace HostTest {

// A 300x200 window: a caption band of 40 pixels holding a label, a check box
// and a button, a button below it and a filler.
inline const char* kTestSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,200" caption="0,0,0,40" roundcorner="6,6" showshadow="true" showshadow="false">
  <VerticalLayout name="root" bkcolor="#FF203040">
    <HorizontalLayout name="captionLt" height="40">
      <Label name="titleLbl" width="100" text="Title" />
      <CheckBox name="captionCb" width="40" />
      <Button name="okBtn" width="60" text="OK" />
    </HorizontalLayout>
    <Button name="clickBtn" height="50" text="Click" bkcolor="#FFC0C0C0" />
    <Button name="closebtn" height="30" text="Close" />
  </VerticalLayout>
</Window>)";

// Control classes of the test skin (the builder's own table may not know them yet).
inline SkinUI::CControlUI* CreateTestControl(std::string_view name)
{
    if (name == "VerticalLayout") return new SkinUI::CVerticalLayoutUI;
    if (name == "HorizontalLayout") return new SkinUI::CHorizontalLayoutUI;
    if (name == "Label") return new SkinUI::CLabelUI;
    if (name == "Button") return new SkinUI::CButtonUI;
    if (name == "CheckBox") return new SkinUI::CCheckBoxUI;
    return nullptr;
}

// One delivered notification as a notifier saw it.
struct Seen {
    int notifier = 0;
    std::string type;
    std::string sender;
    uintptr_t wParam = 0;
    bool operator==(const Seen&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Seen& seen)
{
    return out << seen.notifier << ":" << seen.type << "@" << seen.sender << "/" << seen.wParam;
}

class Recorder : public SkinUI::INotifyUI {
public:
    Recorder(std::vector<Seen>& log, int id) : log_(log), id_(id) {}
    void Notify(SkinUI::TNotifyEvent& msg) override
    {
        log_.push_back(Seen{id_, msg.type, msg.sender ? msg.sender->GetName() : "", msg.wParam});
    }

private:
    std::vector<Seen>& log_;
    int id_;
};

// An installer-like frame built from a skin given as markup text.
class TestFrame : public SkinUI::CSkinFrame {
public:
    explicit TestFrame(std::string skin = kTestSkin)
        : CSkinFrame(SkinUI::TSkinFrameParams{SkinUI::ResourceKind::File, 0, "", std::move(skin), "TestFrame"})
    {
    }
    SkinUI::CControlUI* CreateControl(std::string_view name) override { return CreateTestControl(name); }
    intptr_t HandleAppMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override
    {
        if (message >= Platform::WM_USER && message < Platform::WM_APP) {
            appMessages.push_back(Platform::Message{GetHWND(), message, wParam, lParam});
            if (onAppMessage) onAppMessage(message);
            return 0;
        }
        return CSkinFrame::HandleAppMessage(message, wParam, lParam, handled);
    }
    void Notify(SkinUI::TNotifyEvent& msg) override
    {
        notified.push_back(msg.type);
        CSkinFrame::Notify(msg);
    }

    Platform::WindowId Open(Platform::WindowId owner = 0)
    {
        return Create(owner, "Test", SkinUI::UI_WS_OVERLAPPEDWINDOW, 0, 10, 20, 100, 100);
    }

    std::vector<Platform::Message> appMessages;
    std::vector<std::string> notified;
    std::function<void(uint32_t)> onAppMessage;
};

// Every test gets a fresh headless window system and resource settings.
class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto system = std::make_unique<Platform::HeadlessWindowSystem>();
        headless_ = system.get();
        Platform::WindowSystem::Select(std::move(system));
        SkinUI::CResourceSettings::Reset();
    }
    void TearDown() override
    {
        SkinUI::CResourceSettings::Reset();
        Platform::WindowSystem::Select(nullptr);
    }

    // Dispatches what is ready now (through the pre-dispatch step), at most `limit` messages.
    int PumpIdle(int limit = 1000)
    {
        int count = 0;
        Platform::Message message;
        while (count < limit && headless_->WaitMessage(message, 0) == Platform::WindowSystem::Wait::Message) {
            if (!SkinUI::CManagerUI::TranslateMessage(message)) headless_->DispatchMessage(message);
            ++count;
        }
        return count;
    }

    // Dispatches messages for about `ms` milliseconds.
    void PumpFor(int ms)
    {
        const uint32_t start = headless_->TickCount();
        Platform::Message message;
        for (int left = ms; left > 0; left = ms - static_cast<int>(headless_->TickCount() - start)) {
            if (headless_->WaitMessage(message, left) == Platform::WindowSystem::Wait::Message) {
                if (!SkinUI::CManagerUI::TranslateMessage(message)) headless_->DispatchMessage(message);
            }
        }
    }

    // Centre of a control in client coordinates.
    static Platform::Point CentreOf(const SkinUI::CControlUI& control)
    {
        const Platform::Rect& r = control.GetPos();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    void Click(Platform::WindowId window, Platform::Point at)
    {
        headless_->InjectMouse(window, Platform::WM_MOUSEMOVE, at.x, at.y);
        headless_->InjectMouse(window, Platform::WM_LBUTTONDOWN, at.x, at.y, Platform::MK_LBUTTON);
        headless_->InjectMouse(window, Platform::WM_LBUTTONUP, at.x, at.y);
        PumpIdle();
    }

    Platform::HeadlessWindowSystem* headless_ = nullptr;
};

}  // namespace HostTest
