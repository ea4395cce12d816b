// The window host's hot paths on the headless back end: posting and taking
// messages, and repainting a skinned 300 x 200 window in full or in part.
// Goals: a posted message costs under 2 us end to end; a full repaint of the
// window under 5 ms, and a 20 x 20 repaint well under the full one (only the
// update rectangle is painted).
//   host_bench [Google Benchmark flags]
#include "platform/HeadlessWindowSystem.h"
#include "platform/WindowMessages.h"
#include "skinui/CButtonUI.h"
#include "skinui/CHorizontalLayoutUI.h"
#include "skinui/CLabelUI.h"
#include "skinui/CManagerUI.h"
#include "skinui/CVerticalLayoutUI.h"
#include "skinui/WindowImplBase.h"

#include <benchmark/benchmark.h>

using namespace Platform;
using namespace SkinUI;

namespace {

const char* kSkin = R"(<Window size="300,200" caption="0,0,0,40" roundcorner="6,6">
  <VerticalLayout bkcolor="#FF203040">
    <HorizontalLayout height="40" bkcolor="#FF405060">
      <Label text="NuvaloPDF转换器" textcolor="#FFFFFFFF" />
      <Button name="closebtn" width="40" text="X" />
    </HorizontalLayout>
    <Label text="欢迎使用" height="60" align="center" />
    <HorizontalLayout height="40" inset="20,5,20,5">
      <Button text="立即安装" bkcolor="#FF2080F0" textcolor="#FFFFFFFF" />
      <Button text="自定义安装" bkcolor="#FFE0E0E0" />
    </HorizontalLayout>
  </VerticalLayout>
</Window>)";

class BenchWindow : public WindowImplBase {
public:
    std::string GetWindowClassName() const override { return "BenchWnd"; }
    std::string GetSkinDir() override { return ""; }
    std::string GetSkinXml() override { return kSkin; }
    CControlUI* CreateControl(std::string_view name) override
    {
        if (name == "VerticalLayout") return new CVerticalLayoutUI;
        if (name == "HorizontalLayout") return new CHorizontalLayoutUI;
        if (name == "Label") return new CLabelUI;
        if (name == "Button") return new CButtonUI;
        return nullptr;
    }
};

HeadlessWindowSystem& Headless()
{
    static HeadlessWindowSystem* system = [] {
        auto made = std::make_unique<HeadlessWindowSystem>();
        HeadlessWindowSystem* raw = made.get();
        WindowSystem::Select(std::move(made));
        return raw;
    }();
    return *system;
}

void DispatchReady()
{
    Message message;
    while (Headless().WaitMessage(message, 0) == WindowSystem::Wait::Message) Headless().DispatchMessage(message);
}

void BM_PostAndTakeMessage(benchmark::State& state)
{
    HeadlessWindowSystem& system = Headless();
    Message message;
    for (auto _ : state) {
        system.PostMessage(Message{0, WM_USER, 1, 2});
        system.WaitMessage(message, 0);
        benchmark::DoNotOptimize(message);
    }
}
BENCHMARK(BM_PostAndTakeMessage);

void BM_Repaint(benchmark::State& state)
{
    Headless();
    BenchWindow window;
    const WindowId id = window.Create(0, "bench", 0, 0, 0, 0, 300, 200);
    window.ShowWindow();
    DispatchReady();
    const int side = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Headless().Invalidate(id, Rect{0, 0, side, side});
        Headless().DispatchMessage(Message{id, WM_PAINT, 0, 0});
    }
    state.SetLabel(side >= 300 ? "full window" : "20 x 20");
}
BENCHMARK(BM_Repaint)->Arg(20)->Arg(400)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
