#pragma once

#include "skinui/CContainerUI.h"

namespace SkinUI {

// Shows exactly one of its children (the selected page) over its content rectangle.
class CTabLayoutUI : public CContainerUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool AddAt(CControlUI* control, int index) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // -1 when nothing is selected.
    int GetCurSel() const;
    // False for an index outside the children; true without change for the current one.
    virtual bool SelectItem(int index, bool sendNotify = true);
    bool SelectItem(CControlUI* control, bool sendNotify = true);

    void DoInit() override;
    void SetPos(UIRect rect, bool needInvalidate = true) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    int curSel_ = -1;
};

} // namespace SkinUI
