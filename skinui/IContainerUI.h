#pragma once

namespace SkinUI {

class CControlUI;

// Child management of a container; the builder adds children through it.
class IContainerUI {
public:
    virtual ~IContainerUI() = default;

    virtual CControlUI* GetItemAt(int index) const = 0;
    // -1 when the control is not a child.
    virtual int GetItemIndex(CControlUI* control) const = 0;
    virtual bool SetItemIndex(CControlUI* control, int index) = 0;
    virtual int GetCount() const = 0;
    // Takes ownership on success; on failure the caller keeps the control.
    virtual bool Add(CControlUI* control) = 0;
    virtual bool AddAt(CControlUI* control, int index) = 0;
    // Destroys the control when the container auto-destroys (delayed while the window runs).
    virtual bool Remove(CControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;
};

} // namespace SkinUI
