#pragma once

#include "platform/Registry.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

// A throw-away home for one test: HOME, the XDG folders, TMPDIR and the
// registry store all point into a fresh temporary folder, and every variable
// is put back afterwards, so no test can reach the real user's folders.
class TempUserFolders {
public:
    TempUserFolders() {
        std::string pattern = (std::filesystem::temp_directory_path() / "nuvalo-rec-XXXXXX").string();
        // Without a private root every variable would point at real folders.
        if (!::mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
        for (const char* folder : {"/home/.config", "/home/.local/share", "/home/Desktop", "/tmp"}) {
            std::error_code ignored;
            std::filesystem::create_directories(root_ + folder, ignored);
        }
        Set("HOME", root_ + "/home");
        Set("XDG_CONFIG_HOME", root_ + "/home/.config");
        Set("XDG_DATA_HOME", root_ + "/home/.local/share");
        Set("XDG_DESKTOP_DIR", root_ + "/home/Desktop");
        Set("TMPDIR", root_ + "/tmp");
        Set(Platform::Registry::kStoreFileVariable, root_ + "/registry.ini");
    }
    ~TempUserFolders() {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempUserFolders(const TempUserFolders&) = delete;
    TempUserFolders& operator=(const TempUserFolders&) = delete;

    // Sets a variable for this test only.
    void Set(const std::string& name, const std::string& value) {
        Remember(name);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    void Unset(const std::string& name) {
        Remember(name);
        ::unsetenv(name.c_str());
    }

    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }

private:
    void Remember(const std::string& name) {
        if (saved_.count(name)) return;
        const char* value = std::getenv(name.c_str());
        saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }

    std::string root_;
    std::map<std::string, std::optional<std::string>> saved_;
};
