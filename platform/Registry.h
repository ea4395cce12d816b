#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Platform {

// The per-user registry stand-in: one ini-format file, one section per key
// path ("Software\Vendor\Product"), one line per string value. Values are
// stored quoted so that blanks and quotes at their ends survive a round trip;
// key paths and value names compare ignoring case, like the registry.
class Registry {
public:
    // Environment variable that names the store file instead of the default
    // "$XDG_CONFIG_HOME/nuvalo-installer/registry.ini".
    static constexpr const char* kStoreFileVariable = "NUVALO_REGISTRY_FILE";

    // The store of the current user; "" when no location can be found.
    static std::string UserStorePath();
    // The current user's store.
    Registry();
    explicit Registry(std::string storePath);

    // Creates the store, the key and the value as needed and writes the file
    // atomically; false when the text cannot be stored (unusable name or text,
    // unwritable file). Writers of the same store are serialised by a lock file.
    bool WriteString(std::string_view keyPath, std::string_view name, std::string_view text) const;
    // nullopt when the store, the key or the value is missing.
    std::optional<std::string> ReadString(std::string_view keyPath, std::string_view name) const;

    const std::string& StorePath() const { return storePath_; }

private:
    std::string storePath_;
};

}  // namespace Platform
