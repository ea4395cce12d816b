#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

// A 7z skin archive, decoded completely when opened; lookups never
// decompress again.
class CSkinArchive {
public:
    struct Entry {
        // As stored, "/" between folders.
        std::string name;
        // Characters including the terminating NUL.
        std::size_t nameLength = 0;
        // Position in the archive's item list, folders included.
        std::size_t index = 0;
        uint64_t size = 0;
        std::string data;
    };

    static constexpr int kCopyOk = 0;
    static constexpr int kCopyNoEntry = 8;

    // nullptr when the archive cannot be read at all. A damaged archive keeps
    // the entries decoded before the damage.
    static std::unique_ptr<CSkinArchive> OpenFromMemory(const void* bytes, std::size_t length);
    // nullptr when the file cannot be opened; an unreadable archive gives no entries.
    static std::unique_ptr<CSkinArchive> OpenFromFile(const std::string& path);

    // Whether two entry names are the same: case ignored under the user's locale.
    static bool SameName(std::string_view a, std::string_view b);

    // Backslashes count as "/", case is ignored, the first match wins.
    bool Find(std::string_view name, std::size_t& index, uint64_t& size) const;
    // kCopyOk with the entry's bytes, or kCopyNoEntry.
    int Copy(std::size_t index, std::string& destination) const;
    void Close() { entries_.clear(); }

    const std::vector<Entry>& Entries() const { return entries_; }

private:
    CSkinArchive() = default;

    std::vector<Entry> entries_;
};

}  // namespace SkinUI
