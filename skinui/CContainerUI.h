#pragma once

#include "skinui/CControlUI.h"
#include "skinui/IContainerUI.h"

#include <vector>

namespace SkinUI {

// Horizontal child alignment of a vertical layout ("childalign").
inline constexpr int UIALIGN_LEFT = 0;
inline constexpr int UIALIGN_CENTER = 1;
inline constexpr int UIALIGN_RIGHT = 2;
// Vertical child alignment of a horizontal layout ("childvalign").
inline constexpr int UIALIGN_TOP = 0;
inline constexpr int UIALIGN_VCENTER = 4;
inline constexpr int UIALIGN_BOTTOM = 8;

// A control with an ordered list of children; every child gets the content rectangle.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    std::string_view GetClass() const override;
    // "Container", and "IContainer" for the IContainerUI interface.
    void* GetInterface(std::string_view name) override;

    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const override;
    bool SetItemIndex(CControlUI* control, int index) override;
    int GetCount() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    void DoEvent(TEventUI& event) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetManager(CManagerUI* manager, CControlUI* parent, bool init = true) override;
    CControlUI* FindControl(FindControlProc proc, void* data, uint32_t flags) override;

    UIRect GetInset() const;
    void SetInset(UIRect inset);
    int GetChildPadding() const;
    void SetChildPadding(int padding);
    int GetChildAlign() const;
    void SetChildAlign(int align);
    int GetChildVAlign() const;
    void SetChildVAlign(int align);
    bool IsMouseChildEnabled() const;
    void SetMouseChildEnabled(bool enabled = true);
    bool IsAutoDestroy() const;
    void SetAutoDestroy(bool autoDestroy);
    bool IsDelayedDestroy() const;
    void SetDelayedDestroy(bool delayed);

    void SetPos(UIRect rect, bool needInvalidate = true) override;
    void Move(UISize offset, bool needInvalidate = true) override;
    bool DoPaint(CRenderEngine& render, const UIRect& paint, CControlUI* stopControl) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

    // Places a floating child from its fixed position, size and float percents.
    void SetFloatPos(int index);

protected:
    // The item rectangle deflated by the inset.
    UIRect ContentRect() const;
    const std::vector<CControlUI*>& Items() const { return items_; }
    // Destroys a removed child now or, while the window runs, on its cleanup message.
    void ReleaseChild(CControlUI* control);
    // A size clamped to the child's minimum and maximum.
    static int ClampWidth(const CControlUI* child, int width);
    static int ClampHeight(const CControlUI* child, int height);
    // Lays the children out one after another over the content rectangle, top to bottom or
    // left to right: fixed children keep their size, the others share what is left.
    void LayOutInLine(bool vertical);

private:
    // What a child is offered: its fixed size, else its maximum, never more than what is there.
    static UISize OfferFor(const CControlUI* child, int availableWidth, int availableHeight);
    static int ClampMain(const CControlUI* child, int size, bool vertical);
    // The child's size along the line, 0 when it shares the free space.
    static int MeasureMain(CControlUI* child, UISize offer, bool vertical);
    // Binds a new child to this container (and its manager) and asks for a layout.
    void AdoptChild(CControlUI* control);
    CControlUI* FindInChildren(FindControlProc proc, void* data, uint32_t flags);
    void SetChildAlignAttribute(std::string_view value);
    void SetChildVAlignAttribute(std::string_view value);

private:
    std::vector<CControlUI*> items_;
    UIRect inset_;
    int childPadding_ = 0;
    int childAlign_ = UIALIGN_LEFT;
    int childVAlign_ = UIALIGN_TOP;
    bool mouseChildEnabled_ = true;
    bool autoDestroy_ = true;
    bool delayedDestroy_ = true;
};

} // namespace SkinUI
