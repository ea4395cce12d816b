#pragma once

#include "app/LaunchSettings.h"
#include "install/InstallRecords.h"
#include "skinui/CButtonUI.h"
#include "skinui/CCheckBoxUI.h"
#include "skinui/CEditUI.h"
#include "skinui/CLabelUI.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/CProgressUI.h"
#include "skinui/CSkinResources.h"
#include "skinui/CTabLayoutUI.h"
#include "tests/host/HostTestSupport.h"
#include "tests/records/TempUserFolders.h"
#include "ui/CMainWnd.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

// One dialog the window asked for, as the test's dialog hook saw it.
struct ShownDialog {
    std::string skin;
    std::string text;
    std::string caption;
};

inline std::ostream& operator<<(std::ostream& out, const ShownDialog& d)
{
    return out << d.skin << " [" << d.caption << "] " << d.text;
}

// The main window over the shipped skin on the headless back end, with every
// desktop and system service answered by the test: dialogs, shell opens,
// the folder picker, drives and free space, the network, running processes
// and the clock. HOME, the XDG folders, TMPDIR and the registry store point
// into a throw-away folder.
class MainWndFixture : public HostTest::HeadlessTest {
public:
    static constexpr uint64_t kGiB = 1073741824;
    static constexpr int kDeadlineMs = 20000;

protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        SkinUI::CSkinResources::ClearShared();
        SkinUI::CMultiLanguage::RemoveAll();
        folders.Set("XDG_RUNTIME_DIR", folders.Path("tmp"));
        // Nothing may be downloaded unless a test serves it.
        settings.DownloadUrl = "http://127.0.0.1:1/software/359";
        freeBytes["/"] = 100 * kGiB;
    }

    void TearDown() override
    {
        window.reset();
        PumpIdle();
        SkinUI::CMultiLanguage::RemoveAll();
        SkinUI::CSkinResources::ClearShared();
        HeadlessTest::TearDown();
    }

    MainWndServices Services()
    {
        MainWndServices s;
        s.shellOpen = [this](const std::string& target, const std::string& workFolder) {
            opened.push_back(target);
            openedIn.push_back(workFolder);
        };
        s.pickFolder = [this](Platform::WindowId, const std::string& title) {
            pickerTitle = title;
            return picked;
        };
        s.driveOf = [this](const std::string& folder) { return driveOf ? driveOf(folder) : std::string("/"); };
        s.freeSpace = [this](const std::string& drive, uint64_t& bytes) {
            ++freeSpaceProbes;
            const auto found = freeBytes.find(drive);
            if (found == freeBytes.end()) return false;
            bytes = found->second;
            return true;
        };
        s.checkNetwork = [this] { return network; };
        s.findProcess = [this](const std::string& name) { return running.count(name) ? 4242u : 0u; };
        s.tickCount = [this] { return tick; };
        s.showMessageBox = [this](Platform::WindowId, const std::string& skin, std::optional<std::string_view> text,
                                  std::optional<std::string_view> caption) {
            dialogs.push_back(ShownDialog{skin, std::string(text.value_or("")), std::string(caption.value_or(""))});
            if (whileDialogOpen) whileDialogOpen(dialogs.back());
            if (answers.empty()) return 1;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        };
        return s;
    }

    void OpenWindow()
    {
        window = std::make_unique<CMainWnd>(settings, Services());
        hwnd = window->Open();
        ASSERT_NE(hwnd, 0u);
        PumpIdle();
    }

    // An installation recorded by an earlier run, in a folder that exists.
    std::string RecordOldInstallation()
    {
        const std::string folder = folders.Path("old/nuvaloPDFconverter");
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(InstallRecords::WriteSetting("InstallPath", folder));
        return folder;
    }

    void Report(int32_t code, double value = 0.0, const std::string& text = "")
    {
        window->ReportCallback()(code, value, text);
        PumpIdle();
    }

    // Dispatches messages until done() holds or the deadline passes.
    bool PumpUntil(const std::function<bool()>& done, int limitMs = kDeadlineMs)
    {
        const uint32_t start = headless_->TickCount();
        Platform::Message message;
        while (!done()) {
            if (static_cast<int>(headless_->TickCount() - start) > limitMs) return false;
            if (headless_->WaitMessage(message, 20) == Platform::WindowSystem::Wait::Message) {
                if (!SkinUI::CManagerUI::TranslateMessage(message)) headless_->DispatchMessage(message);
            }
        }
        return true;
    }

    template <typename Control = SkinUI::CControlUI>
    Control* Find(const char* name)
    {
        SkinUI::CControlUI* control = window->GetManager().FindControl(name);
        return static_cast<Control*>(control);
    }

    void ClickOn(const char* name)
    {
        SkinUI::CControlUI* control = Find(name);
        ASSERT_NE(control, nullptr) << name;
        ASSERT_TRUE(control->IsVisible()) << name;
        Click(hwnd, CentreOf(*control));
    }

    bool Checked(const char* name) { return Find<SkinUI::CCheckBoxUI>(name)->IsSelected(); }
    std::string ProgressText() { return Find("progressLb")->GetText(); }
    int ProgressValue() { return Find<SkinUI::CProgressUI>("installPrg")->GetValue(); }
    bool WindowGone() { return !headless_->IsWindow(hwnd); }
    void SelectPage(int page)
    {
        Find<SkinUI::CTabLayoutUI>("mainTabLt")->SelectItem(page, true);
        PumpIdle();
    }

    TempUserFolders folders;
    LaunchSettings settings{"10"};
    std::unique_ptr<CMainWnd> window;
    Platform::WindowId hwnd = 0;

    std::vector<ShownDialog> dialogs;
    std::deque<int> answers;
    std::function<void(const ShownDialog&)> whileDialogOpen;
    std::vector<std::string> opened;
    std::vector<std::string> openedIn;
    std::optional<std::string> picked;
    std::string pickerTitle;
    std::function<std::string(const std::string&)> driveOf;
    std::map<std::string, uint64_t> freeBytes;
    int freeSpaceProbes = 0;
    uint32_t network = 0x40;
    std::set<std::string> running;
    uint32_t tick = 1000;
};
