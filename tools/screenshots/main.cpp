// Renders the installer's windows from the linked skin archive on the
// headless window layer and writes each window's bitmap as a PNG:
//   screenshots <output folder>
// The main window once per page, then the five dialogs.

#include "platform/FileSystem.h"
#include "platform/HeadlessWindowSystem.h"
#include "skinui/CControlUI.h"
#include "skinui/CEditUI.h"
#include "skinui/CLabelUI.h"
#include "skinui/CProgressUI.h"
#include "skinui/CSequenceButtonUI.h"
#include "skinui/CSequenceLabelUI.h"
#include "skinui/CSkinFrame.h"
#include "skinui/CTabLayoutUI.h"

#include <cairo.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Platform::HeadlessWindowSystem;

// A skinned installer window that knows the sequence controls of the main window's skin.
class ScreenshotFrame : public SkinUI::CSkinFrame {
public:
    explicit ScreenshotFrame(const std::string& skinFile) : CSkinFrame(InstallerSkin(skinFile)) {}

    SkinUI::CControlUI* CreateControl(std::string_view elementName) override
    {
        if (elementName == "SequenceLabel") return new SkinUI::CSequenceLabelUI;
        if (elementName == "SequenceButton") return new SkinUI::CSequenceButtonUI;
        return nullptr;
    }

    template <typename T>
    T* Find(const char* name)
    {
        return static_cast<T*>(GetManager().FindControl(name));
    }
};

class Renderer {
public:
    explicit Renderer(std::string folder) : folder_(std::move(folder))
    {
        auto system = std::make_unique<HeadlessWindowSystem>();
        system_ = system.get();
        Platform::WindowSystem::Select(std::move(system));
    }
    ~Renderer() { Platform::WindowSystem::Select(nullptr); }
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    bool Open(ScreenshotFrame& frame)
    {
        if (frame.Create(0, "NuvaloPDF转换器", SkinUI::UI_WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, 0) == 0) return false;
        frame.ShowWindow(true);
        return true;
    }

    // Lays out and paints what is pending, then writes the window's pixels.
    bool Write(ScreenshotFrame& frame, const std::string& name)
    {
        frame.GetManager().NeedUpdate();
        Platform::Message message;
        for (int i = 0; i < 1000 && system_->WaitMessage(message, 0) == Platform::WindowSystem::Wait::Message; ++i) {
            system_->DispatchMessage(message);
        }
        const Platform::Rect rect = system_->GetWindowRect(frame.GetHWND());
        return WritePng(frame.GetHWND(), rect.Width(), rect.Height(), Platform::JoinPath(folder_, name + ".png"));
    }

private:
    bool WritePng(Platform::WindowId window, int width, int height, const std::string& path) const
    {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cairo_surface_flush(surface);
        unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (int y = 0; data != nullptr && y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
            for (int x = 0; x < width; ++x) row[x] = system_->PresentedPixel(window, x, y);
        }
        cairo_surface_mark_dirty(surface);
        const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
        if (!written) std::fprintf(stderr, "screenshots: cannot write %s\n", path.c_str());
        return written;
    }

    std::string folder_;
    HeadlessWindowSystem* system_ = nullptr;
};

// What the main window shows on each page (its "tabselect" handling), with sample progress and folder.
void ShowPage(ScreenshotFrame& frame, int page)
{
    static const char* const kBackgrounds[] = {"res\\mainWnd\\bg1.png", "res\\mainWnd\\bg2.png",
                                               "res\\mainWnd\\bg3.png", "res\\mainWnd\\bg4.png"};
    frame.Find<SkinUI::CTabLayoutUI>("mainTabLt")->SelectItem(page, false);
    frame.Find<SkinUI::CControlUI>("winCtn")->SetBkImage(kBackgrounds[page]);
    if (page != 2) frame.Find<SkinUI::CTabLayoutUI>("titleTabLt")->SelectItem(page == 3 ? 2 : 1, false);
    frame.Find<SkinUI::CControlUI>("titleGrpCtn")->SetVisible(page != 2);
    frame.Find<SkinUI::CControlUI>("backBtn")->SetVisible(page == 1);
}

void PrepareSamples(ScreenshotFrame& frame)
{
    frame.Find<SkinUI::CEditUI>("installDirEdit")->SetText("/home/user/.local/opt/NuvaloPDF转换器");
    frame.Find<SkinUI::CProgressUI>("installPrg")->SetValue(42);
    frame.Find<SkinUI::CLabelUI>("progressLb")->SetText("正在安装中:42%，请稍候...");
    auto* finished = frame.Find<SkinUI::CSequenceLabelUI>("finishedLbl");
    SkinUI::CFrameSequence& sequence = finished->GetSequence();
    finished->SetBkImage(sequence.FrameName(sequence.GetCount() - 1));
}

bool RenderMainWindow(Renderer& renderer)
{
    ScreenshotFrame frame("MainWnd.xml");
    if (!renderer.Open(frame)) return false;
    PrepareSamples(frame);
    bool written = true;
    for (int page = 0; page < 4; ++page) {
        ShowPage(frame, page);
        written = renderer.Write(frame, "main-page" + std::to_string(page)) && written;
    }
    return written;
}

struct Dialog {
    const char* skinFile;
    const char* image;
    const char* caption;
    const char* text;
};

bool RenderDialog(Renderer& renderer, const Dialog& dialog)
{
    ScreenshotFrame frame(dialog.skinFile);
    if (!renderer.Open(frame)) return false;
    // The tip dialogs keep their skin texts.
    if (dialog.caption != nullptr) frame.Find<SkinUI::CControlUI>("captionLbl")->SetText(dialog.caption);
    if (dialog.text != nullptr) frame.Find<SkinUI::CControlUI>("textLbl")->SetText(dialog.text);
    return renderer.Write(frame, dialog.image);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshots <output folder>\n");
        return 2;
    }
    Renderer renderer(argv[1]);
    bool written = RenderMainWindow(renderer);
    const Dialog dialogs[] = {
        {"MessageBox1Wnd.xml", "dialog-messagebox1", "温馨提示", "安装程序检测到NuvaloPDF转换器\r\n正在运行，请退出程序后再安装"},
        {"MessageBox2Wnd.xml", "dialog-messagebox2", "温馨提示", "请确认系统盘空间不低于1GB，以保证安装成功"},
        {"InstalledPathTipWnd.xml", "dialog-installed", nullptr, nullptr},
        {"NetworkTipWnd.xml", "dialog-network", nullptr, nullptr},
        {"ExitTipWnd.xml", "dialog-exit", nullptr, nullptr},
    };
    for (const Dialog& dialog : dialogs) written = RenderDialog(renderer, dialog) && written;
    return written ? 0 : 1;
}
