#pragma once

namespace SkinUI {

struct TNotifyEvent;

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyEvent& msg) = 0;
};

}  // namespace SkinUI
