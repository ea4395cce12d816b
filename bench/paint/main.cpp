// Laying out and painting a 600 x 400 installer-like window of about 60 controls: a title
// bar, a tab layout with the wizard's pages, labels with Chinese text, buttons, a check
// box, an edit and a progress bar. Goal: a full paint in 5 ms or less.
//   paint_bench [Google Benchmark flags]
#include "skinui/CButtonUI.h"
#include "skinui/CCheckBoxUI.h"
#include "skinui/CEditUI.h"
#include "skinui/CHorizontalLayoutUI.h"
#include "skinui/CLabelUI.h"
#include "skinui/CManagerUI.h"
#include "skinui/CProgressUI.h"
#include "skinui/CRenderEngine.h"
#include "skinui/CTabLayoutUI.h"
#include "skinui/CVerticalLayoutUI.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace SkinUI;

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;

template <typename T>
T* Make(CContainerUI* parent, const char* attributes)
{
    T* control = new T;
    control->ApplyAttributeList(attributes);
    parent->Add(control);
    return control;
}

// A row of the given height whose content is centred between two stretches.
CHorizontalLayoutUI* CentredRow(CContainerUI* parent, int height)
{
    auto* row = Make<CHorizontalLayoutUI>(parent, "");
    row->SetFixedHeight(height);
    Make<CControlUI>(row, "");
    return row;
}

void EndRow(CHorizontalLayoutUI* row)
{
    Make<CControlUI>(row, "");
}

void BuildTitleBar(CContainerUI* root)
{
    auto* bar = Make<CHorizontalLayoutUI>(root, R"(height="35" bkcolor="#FF1675FE")");
    Make<CControlUI>(bar, R"(width="10")");
    auto* logo = Make<CTabLayoutUI>(bar, R"(width="200")");
    Make<CLabelUI>(logo, R"(text="NuvaloPDF转换器" textcolor="#FFFFFFFF")");
    Make<CControlUI>(bar, "");
    Make<CControlUI>(bar, R"(width="10")");
    auto* buttons = Make<CVerticalLayoutUI>(bar, R"(width="40")");
    Make<CButtonUI>(buttons, R"(name="minbtn" height="20" normalimage="color='#FF3A8BFF'" hotimage="color='#FF5A9DFD'")");
    Make<CControlUI>(bar, R"(width="10")");
    Make<CButtonUI>(bar, R"(name="closebtn" width="2" normalimage="color='#FF3A8BFF'")");
}

void BuildFirstPage(CTabLayoutUI* pages)
{
    auto* page = Make<CVerticalLayoutUI>(pages, R"(bkcolor="#FFF5F8FF")");
    Make<CControlUI>(page, R"(height="40")");
    auto* title = CentredRow(page, 40);
    Make<CLabelUI>(title, R"(width="300" text="一键安装，轻松转换PDF" align="center" textcolor="#FF1F2D3D")");
    EndRow(title);
    Make<CControlUI>(page, R"(height="30")");
    auto* install = CentredRow(page, 50);
    Make<CButtonUI>(install, R"(name="defaultInstallBtn" width="220" text="快速安装" textcolor="#FFFFFFFF" )"
                             R"(bkcolor="#FF1675FE" hotbkcolor="#FF5A9DFD" borderround="4,4")");
    EndRow(install);
    Make<CControlUI>(page, R"(height="20")");
    auto* treaty = CentredRow(page, 24);
    Make<CCheckBoxUI>(treaty, R"(name="treatyCb" width="18" normalimage="color='#FFC0C0C0' dest='0,0,18,18'" )"
                              R"(selectedimage="color='#FF1675FE' dest='0,0,18,18'" selected="true")");
    Make<CLabelUI>(treaty, R"(width="200" text="我已阅读并同意《用户协议》" textcolor="#FF606266")");
    Make<CButtonUI>(treaty, R"(width="80" text="自定义安装" textcolor="#FF1890FF")");
    EndRow(treaty);
    auto* folder = CentredRow(page, 32);
    Make<CEditUI>(folder, R"(name="installDirEdit" width="380" text="/home/user/.local/opt/NuvaloPDF" )"
                          R"(bordersize="1" bordercolor="#FFD9D9D9")");
    Make<CButtonUI>(folder, R"(width="60" text="浏览" bordersize="1" bordercolor="#FF1890FF" borderround="1,2")");
    EndRow(folder);
    Make<CControlUI>(page, "");
}

void BuildProgressPage(CTabLayoutUI* pages)
{
    auto* page = Make<CVerticalLayoutUI>(pages, R"(bkcolor="#FFFFFFFF")");
    Make<CControlUI>(page, R"(height="120")");
    auto* labels = CentredRow(page, 30);
    Make<CLabelUI>(labels, R"(name="progressLb" width="400" text="正在安装 37%" align="center")");
    EndRow(labels);
    auto* bar = CentredRow(page, 12);
    Make<CProgressUI>(bar, R"(name="installPrg" width="560" value="37" bkimage="color='#FFE4E7ED'" )"
                           R"(foreimage="color='#FF1675FE'")");
    EndRow(bar);
    Make<CControlUI>(page, "");
}

void BuildFinishPage(CTabLayoutUI* pages)
{
    auto* page = Make<CVerticalLayoutUI>(pages, R"(bkcolor="#FF1675FE")");
    Make<CControlUI>(page, R"(height="80")");
    auto* done = CentredRow(page, 70);
    Make<CLabelUI>(done, R"(width="70" bkimage="color='#FFFFFFFF' dest='10,10,60,60'")");
    Make<CControlUI>(done, R"(width="10")");
    Make<CLabelUI>(done, R"(width="172" text="安装完成" textcolor="#FFFFFFFF")");
    EndRow(done);
    Make<CControlUI>(page, R"(height="26")");
    auto* open = CentredRow(page, 65);
    Make<CButtonUI>(open, R"(name="openProduceBtn" width="219" text="立即体验" bkcolor="#FFFFFFFF")");
    EndRow(open);
    Make<CControlUI>(page, "");
}

CControlUI* BuildWindow()
{
    auto* root = new CVerticalLayoutUI;
    root->ApplyAttributeList(R"(bkcolor="#FFFFFFFF" bordersize="1" bordercolor="#FF1675FE")");
    BuildTitleBar(root);
    auto* pages = Make<CTabLayoutUI>(root, R"(name="mainTabLt")");
    BuildFirstPage(pages);
    BuildProgressPage(pages);
    BuildFinishPage(pages);
    auto* status = Make<CHorizontalLayoutUI>(root, R"(height="24" bkcolor="#FFF0F2F5")");
    for (int i = 0; i < 4; ++i) {
        Make<CLabelUI>(status, R"(text="版本 1.0.0" textcolor="#FF909399" align="center")");
    }
    return root;
}

int CountControls(CControlUI* root)
{
    int count = 0;
    root->FindControl([](CControlUI*, void* data) -> CControlUI* { ++*static_cast<int*>(data); return nullptr; },
                      &count, UIFIND_ALL);
    return count;
}

// One full paint: layout of the whole tree over the client area, then every control drawn.
void BM_LayoutAndPaint(benchmark::State& state)
{
    CManagerUI manager;
    manager.AttachDialog(BuildWindow());
    CRenderEngine& render = manager.GetRenderEngine();
    render.Resize(kWidth, kHeight);
    const UIRect client{0, 0, kWidth, kHeight};
    auto* pages = static_cast<CTabLayoutUI*>(manager.FindControl("mainTabLt"));
    pages->SelectItem(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        manager.GetRoot()->SetPos(client, false);
        manager.GetRoot()->Paint(render, client, nullptr);
        benchmark::DoNotOptimize(render.PixelAt(300, 200));
    }
    state.counters["controls"] = CountControls(manager.GetRoot());
}

// Painting alone, the layout already done (a repaint without layout changes).
void BM_PaintOnly(benchmark::State& state)
{
    CManagerUI manager;
    manager.AttachDialog(BuildWindow());
    CRenderEngine& render = manager.GetRenderEngine();
    render.Resize(kWidth, kHeight);
    const UIRect client{0, 0, kWidth, kHeight};
    manager.GetRoot()->SetPos(client, false);
    for (auto _ : state) {
        manager.GetRoot()->Paint(render, client, nullptr);
        benchmark::DoNotOptimize(render.PixelAt(300, 200));
    }
}

} // namespace

BENCHMARK(BM_LayoutAndPaint)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
