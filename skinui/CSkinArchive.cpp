#include "skinui/CSkinArchive.h"

#include "platform/TextConversion.h"
#include "utils/DebugLog.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstdio>
#include <cwctype>

namespace SkinUI {
namespace {

struct ArchiveReader {
    archive* handle = archive_read_new();
    ~ArchiveReader() { archive_read_free(handle); }
};

// Next code point of valid UTF-8 (the names come from libarchive or from
// sanitized skin text); a stray byte is taken as itself.
char32_t NextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t point = extra == 3 ? (lead & 0x07) : extra == 2 ? (lead & 0x0F) : extra == 1 ? (lead & 0x1F) : lead;
    for (; extra > 0 && pos < text.size(); --extra) {
        point = (point << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    return point;
}

char32_t FoldCase(char32_t point)
{
    if (point >= 'A' && point <= 'Z') return point - 'A' + 'a';
    return point < 0x80 ? point : static_cast<char32_t>(std::towlower(static_cast<wint_t>(point)));
}

bool ReadEntryData(archive* handle, uint64_t size, std::string& data)
{
    data.clear();
    char buffer[64 * 1024];
    for (;;) {
        const la_ssize_t got = archive_read_data(handle, buffer, sizeof buffer);
        if (got < 0) return false;
        if (got == 0) return data.size() == size;
        if (data.size() + static_cast<uint64_t>(got) > size) return false;
        data.append(buffer, static_cast<std::size_t>(got));
    }
}

// Decodes every file item in archive order; the first damaged item ends the
// walk and keeps what came before it.
void DecodeEntries(archive* handle, std::vector<CSkinArchive::Entry>& entries)
{
    archive_entry* header = nullptr;
    for (std::size_t index = 0; archive_read_next_header(handle, &header) == ARCHIVE_OK; ++index) {
        if (archive_entry_filetype(header) == AE_IFDIR) continue;
        const char* name = archive_entry_pathname_utf8(header);
        if (name == nullptr) name = archive_entry_pathname(header);
        CSkinArchive::Entry entry;
        entry.name = Platform::SanitizeUtf8(name != nullptr ? name : "");
        entry.nameLength = Platform::Utf8Length(entry.name) + 1;
        entry.index = index;
        entry.size = archive_entry_size_is_set(header) ? static_cast<uint64_t>(archive_entry_size(header)) : 0;
        if (!ReadEntryData(handle, entry.size, entry.data)) {
            DEBUG_LOG("skin archive item %zu (%s) is damaged: %s; %zu entries kept", index, entry.name.c_str(),
                      archive_error_string(handle) != nullptr ? archive_error_string(handle) : "short data",
                      entries.size());
            return;
        }
        entries.push_back(std::move(entry));
    }
}

void EnableSevenZip(archive* handle)
{
    archive_read_support_format_7zip(handle);
    archive_read_support_filter_all(handle);
}

}  // namespace

std::unique_ptr<CSkinArchive> CSkinArchive::OpenFromMemory(const void* bytes, std::size_t length)
{
    if (bytes == nullptr || length == 0) return nullptr;
    ArchiveReader reader;
    EnableSevenZip(reader.handle);
    if (archive_read_open_memory(reader.handle, bytes, length) != ARCHIVE_OK) return nullptr;
    std::unique_ptr<CSkinArchive> archive(new CSkinArchive);
    DecodeEntries(reader.handle, archive->entries_);
    return archive;
}

std::unique_ptr<CSkinArchive> CSkinArchive::OpenFromFile(const std::string& path)
{
    const std::string localPath = Platform::EncodeCodePage(path, Platform::kCodePageAnsi);
    std::FILE* probe = std::fopen(localPath.c_str(), "rb");
    if (probe == nullptr) return nullptr;
    std::fclose(probe);
    std::unique_ptr<CSkinArchive> archive(new CSkinArchive);
    ArchiveReader reader;
    EnableSevenZip(reader.handle);
    if (archive_read_open_filename(reader.handle, localPath.c_str(), 64 * 1024) == ARCHIVE_OK) {
        DecodeEntries(reader.handle, archive->entries_);
    }
    return archive;
}

bool CSkinArchive::SameName(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (FoldCase(NextCodePoint(a, i)) != FoldCase(NextCodePoint(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}

bool CSkinArchive::Find(std::string_view name, std::size_t& index, uint64_t& size) const
{
    std::string wanted(name);
    for (char& c : wanted) {
        if (c == '\\') c = '/';
    }
    const std::size_t wantedLength = Platform::Utf8Length(wanted) + 1;
    for (const Entry& entry : entries_) {
        if (entry.nameLength == wantedLength && SameName(entry.name, wanted)) {
            index = entry.index;
            size = entry.size;
            return true;
        }
    }
    return false;
}

int CSkinArchive::Copy(std::size_t index, std::string& destination) const
{
    for (const Entry& entry : entries_) {
        if (entry.index == index) {
            destination = entry.data;
            return kCopyOk;
        }
    }
    return kCopyNoEntry;
}

}  // namespace SkinUI
