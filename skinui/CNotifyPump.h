#pragma once

#include "skinui/TNotifyEvent.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace SkinUI {

class CNotifyPump;

// One message-map entry: notification name, control name ("" = any) and handler.
struct TNotifyMapEntry {
    std::string type;
    std::string controlName;
    std::function<void(CNotifyPump& self, TNotifyEvent& msg)> handler;
};

// A window's message map and the base map searched after it.
struct TNotifyMap {
    const TNotifyMap* base = nullptr;
    std::vector<TNotifyMapEntry> entries;
};

// Entry whose handler takes the record: NotifyEntry<CMyWnd>("click", "", &CMyWnd::OnClick).
template <typename Window>
TNotifyMapEntry NotifyEntry(std::string type, std::string controlName, void (Window::*handler)(TNotifyEvent&))
{
    return {std::move(type), std::move(controlName),
            [handler](CNotifyPump& self, TNotifyEvent& msg) { (static_cast<Window&>(self).*handler)(msg); }};
}

// Entry whose handler takes wParam and lParam.
template <typename Window>
TNotifyMapEntry NotifyEntry(std::string type, std::string controlName, void (Window::*handler)(uintptr_t, intptr_t))
{
    return {std::move(type), std::move(controlName), [handler](CNotifyPump& self, TNotifyEvent& msg) {
                (static_cast<Window&>(self).*handler)(msg.wParam, msg.lParam);
            }};
}

// Routes notifications to the handlers of a message map (and of virtual windows).
class CNotifyPump {
public:
    virtual ~CNotifyPump() = default;

    // Pumps registered under a virtual window name get that window's notifications first.
    bool AddVirtualWnd(const std::string& name, CNotifyPump* pump);
    bool RemoveVirtualWnd(const std::string& name);
    void NotifyPump(TNotifyEvent& msg);
    // Calls the handler of the first map that has a matching entry; false when none matches.
    bool LoopDispatch(TNotifyEvent& msg);

protected:
    virtual const TNotifyMap* GetNotifyMap() const { return nullptr; }

private:
    std::map<std::string, CNotifyPump*> virtualWnds_;
};

}  // namespace SkinUI
