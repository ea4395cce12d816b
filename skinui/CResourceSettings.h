#pragma once

#include "skinui/CSkinArchive.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace SkinUI {

// Where a window's skin file comes from.
enum class ResourceKind {
    File = 1,         // resource path + file name
    Zip = 2,          // an archive file under the resource path
    Resource = 3,     // the file name is a decimal resource id of type "xml"
    ZipResource = 4,  // the ("ZIPRES", id) archive linked into the program
};

// Outcome of reading one skin file.
enum class SkinReadStatus {
    Ok,
    FileOpenFailed,
    FileEmpty,
    FileTooLarge,
    FileShortRead,
    ArchiveOpenFailed,
    EntryNotFound,
    EntryCopyFailed,
};

// The process-wide resource settings shared by every window. UI thread only.
class CResourceSettings {
public:
    static constexpr const char* kMemoryArchiveName = "membuffer";
    static constexpr const char* kArchiveResourceType = "ZIPRES";

    // The instance is the executable; its path ends in "/" ("" when unset).
    static void SetInstance(const std::string& executablePath);
    static const std::string& GetInstancePath();

    // A non-empty path always ends in "/" or a backslash.
    static void SetResourcePath(std::string_view path);
    static const std::string& GetResourcePath();

    // Decodes the archive unless the in-memory archive is already open.
    static void SetArchiveFromMemory(const void* bytes, std::size_t length);
    static void SetArchiveFromFile(std::string_view name, bool cached);
    static const std::string& GetArchiveName();
    static bool IsArchiveCached();
    static const CSkinArchive* GetOpenArchive();

    // Makes the linked ("ZIPRES", id) archive the skin, decoding it only the
    // first time; false when the resource is missing or empty.
    static bool UseArchiveResource(int id);

    // Reads a skin file: loose from the resource path, or from the archive.
    // A file larger than maxBytes is not read.
    static SkinReadStatus ReadSkinFile(std::string_view name, std::string& bytes, std::size_t maxBytes);

    // Back to the start-up state: no instance, path or archive.
    static void Reset();
};

}  // namespace SkinUI
