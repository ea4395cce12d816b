#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Platform {

// Stands in for the resources a Windows executable carries: blobs linked into
// the program (generated at build time) and found by (type, name). A numeric
// id is looked up by its decimal text, so ("ZIPRES", 147) and ("ZIPRES", "147")
// are the same resource. Types compare ignoring ASCII case, names exactly.
class ResourceTable {
public:
    // Registers a blob that lives for the whole process (static storage).
    // A later registration under the same key replaces the earlier one.
    static void Register(std::string_view type, std::string_view name, const void* data, std::size_t size);
    static void Register(std::string_view type, int id, const void* data, std::size_t size);

    // The blob, or an empty view when there is none.
    static std::string_view Find(std::string_view type, std::string_view name);
    static std::string_view Find(std::string_view type, int id);
};

}  // namespace Platform
