#pragma once

#include <string>

// Keeps a second installer of the product from running in the same user
// session: an exclusive lock on a per-user lock file, held until release.
class InstanceGuard {
public:
    static constexpr const char* kNamePrefix = "D1A547DB89C0BC61_";

    explicit InstanceGuard(std::string key);
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // Takes the lock unless this guard holds it already; IsHeld() tells the outcome.
    void Acquire();
    bool IsHeld() const { return lockFd_ >= 0; }
    void Release();

    // "$XDG_RUNTIME_DIR/<prefix><key>.lock", or without a usable runtime folder
    // "<temp folder>/<prefix><key>-<uid>.lock"; "" for a key that is no file name.
    std::string LockFilePath() const;

private:
    std::string key_;
    int lockFd_ = -1;
};
