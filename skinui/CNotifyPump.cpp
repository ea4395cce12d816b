#include "skinui/CNotifyPump.h"

#include "skinui/CControlUI.h"

#include <strings.h>

namespace SkinUI {

namespace {

const TNotifyMapEntry* FindEntry(const TNotifyMap& map, const TNotifyEvent& msg, const std::string& senderName)
{
    const TNotifyMapEntry* anyControl = nullptr;
    for (const TNotifyMapEntry& entry : map.entries) {
        if (entry.type != msg.type) continue;
        if (!entry.controlName.empty() && entry.controlName == senderName) return &entry;
        if (entry.controlName.empty()) anyControl = &entry;
    }
    return anyControl;
}

}  // namespace

bool CNotifyPump::AddVirtualWnd(const std::string& name, CNotifyPump* pump)
{
    if (name.empty() || pump == nullptr) return false;
    return virtualWnds_.try_emplace(name, pump).second;
}

bool CNotifyPump::RemoveVirtualWnd(const std::string& name) { return virtualWnds_.erase(name) > 0; }

void CNotifyPump::NotifyPump(TNotifyEvent& msg)
{
    if (!msg.virtualWnd.empty()) {
        for (auto& [name, pump] : virtualWnds_) {
            if (strcasecmp(name.c_str(), msg.virtualWnd.c_str()) == 0 && pump->LoopDispatch(msg)) return;
        }
    }
    LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(TNotifyEvent& msg)
{
    const std::string senderName = msg.sender != nullptr ? msg.sender->GetName() : std::string();
    for (const TNotifyMap* map = GetNotifyMap(); map != nullptr; map = map->base) {
        if (const TNotifyMapEntry* entry = FindEntry(*map, msg, senderName)) {
            entry->handler(*this, msg);
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
