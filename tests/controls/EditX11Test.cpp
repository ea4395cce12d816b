// The edit on the real X11 window layer: a private Xvfb display, keys typed with xdotool
// (Chinese text through remapped key symbols) and a clipboard owned by a helper client.
#include "ControlsTestSupport.h"

#include "platform/WindowMessages.h"
#include "platform/X11WindowSystem.h"
#include "skinui/CEditUI.h"
#include "skinui/CVerticalLayoutUI.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

using namespace SkinUI;

namespace {

using Clock = std::chrono::steady_clock;

pid_t Spawn(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// Waits up to `timeoutMs` for the process; kills it when it does not end. True for exit code 0.
bool Reap(pid_t pid, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool RunTool(const std::vector<std::string>& args)
{
    const pid_t pid = Spawn(args);
    return pid > 0 && Reap(pid, 10000);
}

// An Xvfb server of its own on the first free display number it reports.
class XvfbServer {
public:
    XvfbServer()
    {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        // -noreset: a reset after the last client leaves would turn away one connecting meanwhile.
        pid_ = Spawn(
            {"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp", "-noreset", "-screen", "0", "800x600x24"});
        close(fds[1]);
        std::string number;
        pollfd poller{fds[0], POLLIN, 0};
        char ch = 0;
        while (pid_ > 0 && poll(&poller, 1, 10000) > 0 && read(fds[0], &ch, 1) == 1 && ch != '\n') {
            number += ch;
        }
        close(fds[0]);
        if (!number.empty()) {
            display_ = ":" + number;
        }
    }
    ~XvfbServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            Reap(pid_, 5000);
        }
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// Owns the CLIPBOARD selection with a UTF-8 text on its own connection and thread.
class ClipboardOwner {
public:
    explicit ClipboardOwner(std::string text) : text_(std::move(text))
    {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) {
            return;
        }
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(display_, XInternAtom(display_, "CLIPBOARD", False), window_, CurrentTime);
        XSync(display_, False);
        thread_ = std::thread([this] { Serve(); });
    }
    ~ClipboardOwner()
    {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (display_ != nullptr) {
            XDestroyWindow(display_, window_);
            XCloseDisplay(display_);
        }
    }
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;

private:
    void Serve()
    {
        const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
        const Atom targets = XInternAtom(display_, "TARGETS", False);
        pollfd poller{ConnectionNumber(display_), POLLIN, 0};
        while (!stop_) {
            if (XPending(display_) == 0) {
                poll(&poller, 1, 20);
                continue;
            }
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type != SelectionRequest) {
                continue;
            }
            const XSelectionRequestEvent& request = event.xselectionrequest;
            XSelectionEvent reply{};
            reply.type = SelectionNotify;
            reply.requestor = request.requestor;
            reply.selection = request.selection;
            reply.target = request.target;
            reply.time = request.time;
            reply.property = request.property;
            if (request.target == utf8 || request.target == XA_STRING) {
                XChangeProperty(display_, request.requestor, request.property, request.target, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text_.data()), static_cast<int>(text_.size()));
            } else if (request.target == targets) {
                const Atom offered[] = {utf8, XA_STRING};
                XChangeProperty(display_, request.requestor, request.property, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(offered), 2);
            } else {
                reply.property = None;
            }
            XSendEvent(display_, request.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
            XFlush(display_);
        }
    }

    std::string text_;
    Display* display_ = nullptr;
    ::Window window_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Asks for the CLIPBOARD as UTF-8 on a connection of its own, as another program would.
class ClipboardReader {
public:
    ClipboardReader()
    {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) {
            return;
        }
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        XConvertSelection(display_, XInternAtom(display_, "CLIPBOARD", False), XInternAtom(display_, "UTF8_STRING", False),
                          XInternAtom(display_, "READER", False), window_, CurrentTime);
        XFlush(display_);
    }
    ~ClipboardReader()
    {
        if (display_ != nullptr) {
            XDestroyWindow(display_, window_);
            XCloseDisplay(display_);
        }
    }
    ClipboardReader(const ClipboardReader&) = delete;
    ClipboardReader& operator=(const ClipboardReader&) = delete;

    // The answer once the owner has given it.
    std::optional<std::string> Answer()
    {
        XEvent event;
        if (display_ == nullptr || !XCheckTypedWindowEvent(display_, window_, SelectionNotify, &event)) {
            return answer_;
        }
        answer_ = "";
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (event.xselection.property != None &&
            XGetWindowProperty(display_, window_, event.xselection.property, 0, 1 << 16, True, AnyPropertyType, &type,
                               &format, &count, &after, &data) == Success &&
            data != nullptr) {
            answer_->assign(reinterpret_cast<const char*>(data), count);
        }
        if (data != nullptr) {
            XFree(data);
        }
        return answer_;
    }

private:
    Display* display_ = nullptr;
    ::Window window_ = 0;
    std::optional<std::string> answer_;
};

// Gives the characters key codes of their own, as a Chinese keyboard layout would. (xdotool would otherwise bind each character to a
// spare key only for the moment of the key press, and take the binding back before a client
// can look the key up.)
bool MapCharacters(const std::u32string& characters)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    int minCode = 0;
    int maxCode = 0;
    XDisplayKeycodes(display, &minCode, &maxCode);
    const int first = maxCode - static_cast<int>(characters.size()) + 1;
    std::vector<KeySym> symbols;
    for (char32_t ch : characters) {
        symbols.push_back(0x01000000 | static_cast<KeySym>(ch));
    }
    XChangeKeyboardMapping(display, first, 1, symbols.data(), static_cast<int>(symbols.size()));
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

// Points DISPLAY at the test server until the end of the scope.
class DisplayVariable {
public:
    explicit DisplayVariable(const std::string& display)
    {
        if (const char* old = std::getenv("DISPLAY")) {
            saved_ = old;
        }
        setenv("DISPLAY", display.c_str(), 1);
    }
    ~DisplayVariable()
    {
        if (saved_.has_value()) {
            setenv("DISPLAY", saved_->c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
    }
    DisplayVariable(const DisplayVariable&) = delete;
    DisplayVariable& operator=(const DisplayVariable&) = delete;

private:
    std::optional<std::string> saved_;
};

} // namespace

TEST(EditX11Test, TypingDeletingSelectingCuttingAndPastingChineseTextUnderXvfb)
{
    XvfbServer server;
    if (server.Display().empty()) {
        GTEST_SKIP() << "Xvfb could not be started";
    }
    const DisplayVariable display(server.Display());
    std::unique_ptr<Platform::X11WindowSystem> opened = Platform::X11WindowSystem::Open();
    ASSERT_NE(opened, nullptr);
    // While a client is connected, so that the server keeps the map.
    ASSERT_TRUE(MapCharacters(U"安装目录"));
    Platform::X11WindowSystem* system = opened.get();
    Platform::WindowSystem::Select(std::move(opened));
    {
        CManagerUI manager;
        ControlsTest::Recorder recorder;
        manager.AddNotifier(&recorder);
        Platform::WindowParams params;
        params.title = "EditX11Test";
        params.rect = {50, 50, 350, 110};
        const Platform::WindowId window =
            system->CreateWindow(params, [&manager](uint32_t message, uintptr_t wParam, intptr_t lParam) -> intptr_t {
                if (message == Platform::WM_NCCREATE) {
                    return 1;
                }
                intptr_t result = 0;
                return manager.MessageHandler(message, wParam, lParam, result) ? result : 0;
            });
        ASSERT_NE(window, 0u);
        manager.Init(window);
        auto* root = new CVerticalLayoutUI;
        auto* edit = new CEditUI;
        edit->SetName("installDirEdit");
        root->Add(edit);
        manager.AttachDialog(root);
        root->SetPos({0, 0, 300, 60});
        system->ShowWindow(window, Platform::ShowMode::Normal);

        auto pumpUntil = [&](const std::function<bool()>& done, int timeoutMs = 10000) {
            const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
            while (!done() && Clock::now() < deadline) {
                Platform::Message message;
                if (system->WaitMessage(message, 20) == Platform::WindowSystem::Wait::Message &&
                    !CManagerUI::TranslateMessage(message)) {
                    system->DispatchMessage(message);
                }
            }
            return done();
        };
        const std::string xid = std::to_string(system->NativeHandle(window));
        // Lets the window appear before it is focused.
        pumpUntil([] { return false; }, 300);
        ASSERT_TRUE(RunTool({"xdotool", "windowfocus", "--sync", xid}));
        edit->SetFocus();
        ASSERT_TRUE(edit->IsEditing());

        ASSERT_TRUE(RunTool({"xdotool", "type", "--delay", "30", "安装目录"}));
        EXPECT_TRUE(pumpUntil([&] { return edit->GetText() == "安装目录"; })) << edit->GetText();

        ASSERT_TRUE(RunTool({"xdotool", "key", "--delay", "30", "BackSpace", "Left", "shift+Home"}));
        EXPECT_TRUE(pumpUntil([&] {
            return edit->GetText() == "安装目" && edit->GetSelectionStart() == 0 && edit->GetSelectionEnd() == 6;
        }));

        ClipboardOwner clipboard("转换器");
        ASSERT_TRUE(RunTool({"xdotool", "key", "ctrl+v"}));
        EXPECT_TRUE(pumpUntil([&] { return edit->GetText() == "转换器目"; })) << edit->GetText();
        EXPECT_GE(std::count(recorder.seen.begin(), recorder.seen.end(), "textchanged@installDirEdit"), 6);

        // Cut: the text goes to the clipboard, where another program finds it, and comes back on paste.
        ASSERT_TRUE(RunTool({"xdotool", "key", "--delay", "30", "ctrl+a", "ctrl+x"}));
        EXPECT_TRUE(pumpUntil([&] { return edit->GetText().empty(); })) << edit->GetText();
        ClipboardReader reader;
        EXPECT_TRUE(pumpUntil([&] { return reader.Answer().has_value(); }));
        EXPECT_EQ(reader.Answer().value_or("(no answer)"), "转换器目");
        ASSERT_TRUE(RunTool({"xdotool", "key", "ctrl+v"}));
        EXPECT_TRUE(pumpUntil([&] { return edit->GetText() == "转换器目"; })) << edit->GetText();

        system->DestroyWindow(window);
    }
    Platform::WindowSystem::Select(nullptr);
}
