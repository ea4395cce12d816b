#include "skinui/CResourceSettings.h"

#include "platform/ResourceTable.h"
#include "platform/TextConversion.h"
#include "utils/DebugLog.h"

#include <filesystem>
#include <fstream>

namespace SkinUI {
namespace {

struct Settings {
    std::string instancePath;
    std::string resourcePath;
    std::string archiveName;
    bool archiveCached = false;
    std::unique_ptr<CSkinArchive> openArchive;
};

Settings& TheSettings()
{
    static Settings settings;
    return settings;
}

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

// The entry of folder whose name equals name ignoring case, or folder / name.
std::filesystem::path FindIgnoringCase(const std::filesystem::path& folder, const std::filesystem::path& name)
{
    std::error_code error;
    std::filesystem::directory_iterator entry(folder.empty() ? "." : folder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::filesystem::path candidate = entry->path().filename();
        if (CSkinArchive::SameName(candidate.string(), name.string())) return folder / candidate;
    }
    return folder / name;
}

// The file in folder that a skin name means, under the archive's rules:
// backslashes are "/", and a component whose case differs on disk is found.
std::filesystem::path LooseFilePath(const std::string& folder, std::string_view name)
{
    std::string relative(name);
    for (char& c : relative) {
        if (c == '\\') c = '/';
    }
    const std::filesystem::path exact = Platform::EncodeCodePage(folder + relative, Platform::kCodePageAnsi);
    std::error_code error;
    if (std::filesystem::exists(exact, error)) return exact;
    std::filesystem::path resolved = exact.root_path();
    for (const std::filesystem::path& component : exact.relative_path()) {
        const std::filesystem::path next = resolved / component;
        resolved = std::filesystem::exists(next, error) ? next : FindIgnoringCase(resolved, component);
    }
    return resolved;
}

SkinReadStatus ReadLooseFile(const std::filesystem::path& path, std::string& bytes, std::size_t maxBytes)
{
    // Only regular files: a folder cannot be read and a pipe could block forever.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return SkinReadStatus::FileOpenFailed;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return SkinReadStatus::FileOpenFailed;
    const std::streamoff length = file.tellg();
    if (length < 0) return SkinReadStatus::FileOpenFailed;
    if (length == 0) return SkinReadStatus::FileEmpty;
    if (static_cast<unsigned long long>(length) > maxBytes) return SkinReadStatus::FileTooLarge;
    bytes.assign(static_cast<std::size_t>(length), '\0');
    file.seekg(0);
    if (!file.read(bytes.data(), length)) return SkinReadStatus::FileShortRead;
    return SkinReadStatus::Ok;
}

SkinReadStatus ReadArchiveEntry(const CSkinArchive& archive, std::string_view name, std::string& bytes,
                                std::size_t maxBytes)
{
    std::size_t index = 0;
    uint64_t size = 0;
    if (!archive.Find(name, index, size)) return SkinReadStatus::EntryNotFound;
    if (size == 0) return SkinReadStatus::FileEmpty;
    if (size > maxBytes) return SkinReadStatus::FileTooLarge;
    if (archive.Copy(index, bytes) != CSkinArchive::kCopyOk) return SkinReadStatus::EntryCopyFailed;
    return SkinReadStatus::Ok;
}

void CloseCachedArchive(Settings& settings)
{
    if (settings.archiveCached) settings.openArchive.reset();
}

}  // namespace

void CResourceSettings::SetInstance(const std::string& executablePath)
{
    const std::size_t slash = executablePath.rfind('/');
    TheSettings().instancePath = slash == std::string::npos ? "" : executablePath.substr(0, slash + 1);
}

const std::string& CResourceSettings::GetInstancePath()
{
    return TheSettings().instancePath;
}

void CResourceSettings::SetResourcePath(std::string_view path)
{
    std::string& stored = TheSettings().resourcePath;
    stored = path;
    if (!stored.empty() && !IsSeparator(stored.back())) stored += '/';
}

const std::string& CResourceSettings::GetResourcePath()
{
    return TheSettings().resourcePath;
}

void CResourceSettings::SetArchiveFromMemory(const void* bytes, std::size_t length)
{
    Settings& settings = TheSettings();
    if (settings.archiveName == kMemoryArchiveName) return;
    CloseCachedArchive(settings);
    settings.archiveName = kMemoryArchiveName;
    settings.archiveCached = true;
    settings.openArchive = CSkinArchive::OpenFromMemory(bytes, length);
    DEBUG_LOG("skin archive decoded: %zu entries", settings.openArchive ? settings.openArchive->Entries().size() : 0);
}

void CResourceSettings::SetArchiveFromFile(std::string_view name, bool cached)
{
    Settings& settings = TheSettings();
    if (settings.archiveName == name && settings.archiveCached == cached) return;
    CloseCachedArchive(settings);
    settings.archiveName = name;
    settings.archiveCached = cached;
    if (cached) settings.openArchive = CSkinArchive::OpenFromFile(settings.resourcePath + settings.archiveName);
}

const std::string& CResourceSettings::GetArchiveName()
{
    return TheSettings().archiveName;
}

bool CResourceSettings::IsArchiveCached()
{
    return TheSettings().archiveCached;
}

const CSkinArchive* CResourceSettings::GetOpenArchive()
{
    return TheSettings().openArchive.get();
}

bool CResourceSettings::UseArchiveResource(int id)
{
    Settings& settings = TheSettings();
    if (settings.archiveName == kMemoryArchiveName) return true;
    const std::string_view resource = Platform::ResourceTable::Find(kArchiveResourceType, id);
    if (resource.empty()) {
        DEBUG_LOG("no skin archive resource %d", id);
        return false;
    }
    // Every entry is decoded at once; the linked bytes are not needed afterwards.
    SetArchiveFromMemory(resource.data(), resource.size());
    return true;
}

SkinReadStatus CResourceSettings::ReadSkinFile(std::string_view name, std::string& bytes, std::size_t maxBytes)
{
    Settings& settings = TheSettings();
    bytes.clear();
    if (settings.archiveName.empty()) return ReadLooseFile(LooseFilePath(settings.resourcePath, name), bytes, maxBytes);
    if (settings.archiveCached) {
        if (settings.openArchive == nullptr) return SkinReadStatus::ArchiveOpenFailed;
        return ReadArchiveEntry(*settings.openArchive, name, bytes, maxBytes);
    }
    const auto archive = CSkinArchive::OpenFromFile(settings.resourcePath + settings.archiveName);
    if (archive == nullptr) return SkinReadStatus::ArchiveOpenFailed;
    return ReadArchiveEntry(*archive, name, bytes, maxBytes);
}

void CResourceSettings::Reset()
{
    TheSettings() = Settings();
}

}  // namespace SkinUI
