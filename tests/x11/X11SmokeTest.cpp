#include "platform/X11WindowSystem.h"
#include "tests/host/HostTestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using namespace HostTest;
using namespace Platform;

namespace {

bool OnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= folders.size();) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        if (access((folders.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// A child process started by the test and stopped by its id. It dies with
// the test process too, so an aborted test leaves no display server behind;
// its output goes to /dev/null so it never holds the test's pipes open.
class Child {
public:
    explicit Child(std::vector<std::string> args, int keepFd = -1)
    {
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            // Only async-signal-safe calls between fork and exec.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent) _exit(127);
            if (devNull >= 0) {
                dup2(devNull, STDOUT_FILENO);
                dup2(devNull, STDERR_FILENO);
            }
            if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        if (devNull >= 0) close(devNull);
        if (pid_ < 0) pid_ = 0;
    }
    ~Child()
    {
        if (pid_ == 0 || exited_) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return pid_ != 0; }
    // The exit status once the child has ended, else nothing.
    std::optional<int> Poll()
    {
        if (pid_ == 0) return -1;
        int status = 0;
        if (!exited_ && waitpid(pid_, &status, WNOHANG) == pid_) {
            exited_ = true;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        return exited_ ? std::optional<int>(status_) : std::nullopt;
    }

private:
    pid_t pid_ = 0;
    bool exited_ = false;
    int status_ = -1;
};

// Its own Xvfb on a free display, stopped with the test.
class X11SmokeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
        int fds[2];
        ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
        // -noreset: a reset after the last client leaves would turn away one connecting meanwhile.
        xvfb_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp",
                                               "-noreset", "-screen", "0", "800x600x24"},
                      fds[1]);
        close(fds[1]);
        const std::string display = ReadDisplay(fds[0]);
        close(fds[0]);
        ASSERT_TRUE(xvfb_->Started());
        ASSERT_FALSE(display.empty()) << "Xvfb did not report its display";
        setenv("DISPLAY", (":" + display).c_str(), 1);
        auto system = X11WindowSystem::Open();
        ASSERT_NE(system, nullptr);
        x11_ = system.get();
        WindowSystem::Select(std::move(system));
        SkinUI::CResourceSettings::Reset();
    }

    void TearDown() override
    {
        frame_.reset();
        WindowSystem::Select(nullptr);
        xvfb_.reset();
    }

    static std::string ReadDisplay(int fd)
    {
        std::string number;
        for (int waited = 0; waited < 100; ++waited) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char buffer[16];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0) break;
            number.append(buffer, static_cast<size_t>(n));
            if (number.find('\n') != std::string::npos) break;
        }
        number.erase(std::remove(number.begin(), number.end(), '\n'), number.end());
        return number;
    }

    // Dispatches messages until done() holds or limitMs passes.
    template <typename Done>
    bool PumpUntil(Done done, int limitMs)
    {
        const uint32_t start = x11_->TickCount();
        Message message;
        while (!done()) {
            const int left = limitMs - static_cast<int>(x11_->TickCount() - start);
            if (left <= 0) return false;
            if (x11_->WaitMessage(message, std::min(left, 50)) == WindowSystem::Wait::Message) {
                if (!SkinUI::CManagerUI::TranslateMessage(message)) x11_->DispatchMessage(message);
            }
        }
        return true;
    }

    // Runs a command to its end while the window keeps answering.
    int RunWhilePumping(std::vector<std::string> args)
    {
        Child child(std::move(args));
        std::optional<int> status;
        PumpUntil([&] { return (status = child.Poll()).has_value(); }, 10000);
        return status.value_or(-1);
    }

    std::optional<Child> xvfb_;
    X11WindowSystem* x11_ = nullptr;
    std::unique_ptr<TestFrame> frame_;
};

// The window's shape of the given kind covers (x, y).
bool ShapeCovers(Display* display, ::Window window, int x, int y, int kind = ShapeBounding)
{
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(display, window, kind, &count, &ordering);
    bool covered = false;
    for (int i = 0; i < count; ++i) {
        const XRectangle& r = rects[i];
        covered = covered || (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height);
    }
    if (rects != nullptr) XFree(rects);
    return covered;
}

// Pixel (x, y) of a binary PPM file as 0xRRGGBB, or nothing when it cannot be read.
std::optional<uint32_t> PpmPixel(const std::string& path, int x, int y)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || x >= width || y >= height) return std::nullopt;
    in.seekg(static_cast<std::streamoff>(in.tellg()) + (static_cast<std::streamoff>(y) * width + x) * 3);
    unsigned char rgb[3];
    if (!in.read(reinterpret_cast<char*>(rgb), 3)) return std::nullopt;
    return (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
}

TEST_F(X11SmokeTest, SkinnedWindowOpensTakesAClickAndShowsTheSkin)
{
    frame_ = std::make_unique<TestFrame>();
    const WindowId window = frame_->Open();
    ASSERT_NE(window, 0u);
    frame_->ShowWindow();
    const auto inited = [&] {
        return std::count(frame_->notified.begin(), frame_->notified.end(), "windowinit") == 1;
    };
    ASSERT_TRUE(PumpUntil(inited, 5000));
    PumpUntil([] { return false; }, 300);  // let the first exposures be painted

    const ::Window xid = x11_->NativeHandle(window);
    Display* probe = XOpenDisplay(nullptr);
    ASSERT_NE(probe, nullptr);
    ::Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    ASSERT_TRUE(XGetGeometry(probe, xid, &root, &x, &y, &width, &height, &border, &depth));
    EXPECT_EQ(width, 300u);
    EXPECT_EQ(height, 200u);
    EXPECT_FALSE(ShapeCovers(probe, xid, 0, 0));
    EXPECT_TRUE(ShapeCovers(probe, xid, 150, 100));
    EXPECT_TRUE(ShapeCovers(probe, xid, 299, 100));
    XClassHint hint{};
    ASSERT_TRUE(XGetClassHint(probe, xid, &hint));
    EXPECT_STREQ(hint.res_name, "x11_tests");
    EXPECT_STREQ(hint.res_class, "X11_tests");
    XFree(hint.res_name);
    XFree(hint.res_class);
    ::Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* pid = nullptr;
    ASSERT_EQ(XGetWindowProperty(probe, xid, XInternAtom(probe, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
                                 &type, &format, &count, &after, &pid),
              Success);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(*reinterpret_cast<long*>(pid), getpid());
    XFree(pid);
    XCloseDisplay(probe);

    const Rect rect = x11_->GetWindowRect(window);
    SkinUI::CControlUI* button = frame_->GetManager().FindControl("clickBtn");
    ASSERT_NE(button, nullptr);
    const Platform::Rect at = button->GetPos();
    EXPECT_EQ(RunWhilePumping({"xdotool", "mousemove", "--sync", std::to_string(rect.left + at.left + 20),
                               std::to_string(rect.top + at.top + 20), "click", "1"}),
              0);
    EXPECT_TRUE(PumpUntil([&] {
        return std::count(frame_->notified.begin(), frame_->notified.end(), "click") == 1;
    }, 3000));

    if (!OnPath("import")) GTEST_SKIP() << "imagemagick's import is not installed";
    const std::string shot = ::testing::TempDir() + "x11-smoke-" + std::to_string(getpid()) + ".ppm";
    EXPECT_EQ(RunWhilePumping({"import", "-window", std::to_string(xid), "-depth", "8", "ppm:" + shot}), 0);
    EXPECT_EQ(PpmPixel(shot, 150, 150), std::optional<uint32_t>(0x203040));
    EXPECT_EQ(PpmPixel(shot, 5, 60), std::optional<uint32_t>(0xC0C0C0));
    unlink(shot.c_str());
}

TEST_F(X11SmokeTest, DraggingTheCaptionMovesTheWindow)
{
    frame_ = std::make_unique<TestFrame>();
    const WindowId window = frame_->Open();
    ASSERT_NE(window, 0u);
    frame_->ShowWindow();
    ASSERT_TRUE(PumpUntil([&] { return !frame_->notified.empty(); }, 5000));
    PumpUntil([] { return false; }, 200);
    const Rect before = x11_->GetWindowRect(window);
    SkinUI::CControlUI* label = frame_->GetManager().FindControl("titleLbl");
    ASSERT_NE(label, nullptr);
    const int x = before.left + label->GetPos().left + 10;
    const int y = before.top + label->GetPos().top + 10;
    EXPECT_EQ(RunWhilePumping({"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y), "mousedown",
                               "1", "mousemove", "--sync", std::to_string(x + 50), std::to_string(y + 30),
                               "mouseup", "1"}),
              0);
    EXPECT_TRUE(PumpUntil([&] { return x11_->GetWindowRect(window).left == before.left + 50; }, 3000));
    EXPECT_EQ(x11_->GetWindowRect(window), before.Offset(50, 30));
    EXPECT_EQ(std::count(frame_->notified.begin(), frame_->notified.end(), "click"), 0);
}

TEST_F(X11SmokeTest, ClickThroughCompanionHasAlphaNoInputShapeAndStaysBelowItsOwner)
{
    // Plain Xvfb runs no compositing manager, so translucent windows would not blend.
    EXPECT_FALSE(x11_->SupportsTranslucentWindows());
    const WindowProc plain = [](uint32_t message, uintptr_t, intptr_t) { return message == WM_NCCREATE ? 1 : 0; };
    WindowParams ownerParams;
    ownerParams.rect = Rect{20, 20, 120, 100};
    const WindowId owner = x11_->CreateWindow(ownerParams, plain);
    WindowParams params;
    params.owner = owner;
    params.rect = Rect{10, 10, 130, 110};
    params.translucent = true;
    params.clickThrough = true;
    const WindowId companion = x11_->CreateWindow(params, plain);
    ASSERT_NE(owner, 0u);
    ASSERT_NE(companion, 0u);
    x11_->ShowWindow(owner, ShowMode::Normal);
    x11_->ShowWindow(companion, ShowMode::NoActivate);
    PumpUntil([] { return false; }, 100);

    Display* probe = XOpenDisplay(nullptr);
    ASSERT_NE(probe, nullptr);
    const ::Window xid = x11_->NativeHandle(companion);
    ::Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    ASSERT_TRUE(XGetGeometry(probe, xid, &root, &x, &y, &width, &height, &border, &depth));
    EXPECT_EQ(depth, 32u);
    EXPECT_FALSE(ShapeCovers(probe, xid, 10, 10, ShapeInput));
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(probe, root, &root, &parent, &children, &count));
    const std::vector<::Window> stack(children, children + count);  // bottom to top
    XFree(children);
    const auto below = std::find(stack.begin(), stack.end(), xid);
    ASSERT_NE(below, stack.end());
    ASSERT_NE(below + 1, stack.end());
    EXPECT_EQ(*(below + 1), x11_->NativeHandle(owner));
    XCloseDisplay(probe);
    x11_->DestroyWindow(companion);
    x11_->DestroyWindow(owner);
}

}  // namespace
