#pragma once

#include "skinui/CManagerUI.h"
#include "skinui/CNotifyPump.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CWindowWnd.h"
#include "skinui/IDialogBuilderCallback.h"
#include "skinui/IMessageFilterUI.h"
#include "skinui/INotifyUI.h"

#include <string>

namespace SkinUI {

// Sizes a window may take (the answer to WM_GETMINMAXINFO, passed by pointer in lParam).
struct TMinMaxInfo {
    UIPoint maxSize;
    UIPoint maxPosition;
    UIPoint minTrackSize;
    UIPoint maxTrackSize;
};

// A skinned window: builds its skin on creation, has no system frame
// (caption band, rounded region), handles the standard buttons and pumps
// notifications to its message map.
class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;

    virtual void InitWindow() {}
    virtual void OnClick(TNotifyEvent& msg);
    virtual std::string GetSkinDir() = 0;
    virtual std::string GetSkinXml() = 0;
    virtual intptr_t OnDefaultKey(uintptr_t key);
    virtual ResourceKind GetSkinSource() const { return ResourceKind::File; }
    virtual std::string GetArchiveFile() const { return ""; }
    virtual int GetSkinResourceId() const { return 0; }
    virtual intptr_t OnClose(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnDestroy(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnNcActivate(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnNcCalcSize(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnNcPaint(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnNcHitTest(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnGetMinMaxInfo(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnMouseWheel(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnMouseHover(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnSize(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnChar(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnSysCommand(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnCreate(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnKeyDown(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnKillFocus(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnSetFocus(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnLButtonDown(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnLButtonUp(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t OnMouseMove(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual intptr_t HandleAppMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    virtual uint32_t GetFramelessStyle() const;

    intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void OnWindowGone() override;
    void Notify(TNotifyEvent& msg) override;
    intptr_t MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override;
    CControlUI* CreateControl(std::string_view elementName) override;

    CManagerUI& GetManager() { return paintManager_; }

protected:
    const TNotifyMap* GetNotifyMap() const override;

    CManagerUI paintManager_;

private:
    intptr_t Dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
    // Finds the skin archive as the resource kind asks; false when the window stays without a skin.
    bool LocateSkin();
    void ShowControl(const char* name, bool visible);
};

}  // namespace SkinUI
