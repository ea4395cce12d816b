// Decoding the shipped skin archive, then parsing and building every skin
// file of it, as the installer's windows do. Goal: 20 ms or less per pass.
#include "platform/ResourceTable.h"
#include "skinui/CControlUI.h"
#include "skinui/CDialogBuilder.h"
#include "skinui/CManagerUI.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CSkinArchive.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr int kSkinArchiveId = 147;

std::string_view ShippedArchive()
{
    return Platform::ResourceTable::Find(SkinUI::CResourceSettings::kArchiveResourceType, kSkinArchiveId);
}

bool IsSkinFile(const std::string& name)
{
    return name.size() > 4 && (name.ends_with(".xml") || name.ends_with(".XML"));
}

// Builds one skin file into a fresh manager; answers whether a tree came out.
bool BuildSkinFile(const std::string& bytes)
{
    SkinUI::CManagerUI manager;
    SkinUI::CDialogBuilder builder;
    if (!builder.GetMarkup()->LoadFromMem(bytes)) return false;
    std::unique_ptr<SkinUI::CControlUI> root(builder.Create(nullptr, &manager));
    return root != nullptr;
}

void DecodeParseAndBuildTheSkin(benchmark::State& state)
{
    const std::string_view archiveBytes = ShippedArchive();
    if (archiveBytes.empty()) {
        state.SkipWithError("the shipped skin archive is not linked in");
        return;
    }
    // Includes and images of the skin files are read through the process-wide archive.
    SkinUI::CResourceSettings::UseArchiveResource(kSkinArchiveId);
    int built = 0;
    for (auto _ : state) {
        auto archive = SkinUI::CSkinArchive::OpenFromMemory(archiveBytes.data(), archiveBytes.size());
        for (const auto& entry : archive->Entries()) {
            if (IsSkinFile(entry.name)) built += BuildSkinFile(entry.data) ? 1 : 0;
        }
        benchmark::DoNotOptimize(archive);
    }
    state.counters["skin files built per pass"] = static_cast<double>(built) / static_cast<double>(state.iterations());
}
BENCHMARK(DecodeParseAndBuildTheSkin)->Unit(benchmark::kMillisecond);

void DecodeTheSkinArchive(benchmark::State& state)
{
    const std::string_view archiveBytes = ShippedArchive();
    for (auto _ : state) {
        auto archive = SkinUI::CSkinArchive::OpenFromMemory(archiveBytes.data(), archiveBytes.size());
        benchmark::DoNotOptimize(archive);
    }
}
BENCHMARK(DecodeTheSkinArchive)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
