#include "Sandbox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

class SandboxEnvironment : public testing::Environment {
public:
    void SetUp() override { Sandbox::Root(); }
    void TearDown() override { std::filesystem::remove_all(Sandbox::Root()); }
};

const auto* const kRegistered = testing::AddGlobalTestEnvironment(new SandboxEnvironment);

}  // namespace

const std::string& Sandbox::Root() {
    static const std::string root = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "install-tests-XXXXXX").string();
        const std::string made = ::mkdtemp(pattern.data()) ? pattern : std::string();
        for (const char* sub : {"/home", "/config", "/data", "/cache", "/tmp"})
            std::filesystem::create_directories(made + sub);
        ::setenv("HOME", (made + "/home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (made + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (made + "/data").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (made + "/cache").c_str(), 1);
        ::setenv("XDG_DESKTOP_DIR", (made + "/home/Desktop").c_str(), 1);
        ::setenv("TMPDIR", (made + "/tmp").c_str(), 1);
        return made;
    }();
    return root;
}
