#include "platform/ResourceTable.h"

#include <map>
#include <mutex>
#include <string>

namespace Platform {
namespace {

std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

struct Table {
    std::mutex lock;
    std::map<std::pair<std::string, std::string>, std::string_view> blobs;
};

// Function-local so registrations from other translation units' static
// initialisers always find it constructed.
Table& TheTable()
{
    static Table table;
    return table;
}

}  // namespace

void ResourceTable::Register(std::string_view type, std::string_view name, const void* data, std::size_t size)
{
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    table.blobs[{UpperAscii(type), std::string(name)}] = std::string_view(static_cast<const char*>(data), size);
}

void ResourceTable::Register(std::string_view type, int id, const void* data, std::size_t size)
{
    Register(type, std::to_string(id), data, size);
}

std::string_view ResourceTable::Find(std::string_view type, std::string_view name)
{
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    auto found = table.blobs.find({UpperAscii(type), std::string(name)});
    return found == table.blobs.end() ? std::string_view() : found->second;
}

std::string_view ResourceTable::Find(std::string_view type, int id)
{
    return Find(type, std::to_string(id));
}

}  // namespace Platform
