#pragma once

#include "skinui/TFontEntry.h"
#include "skinui/TImageEntry.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

// The image, font and default-attribute tables of one window's manager,
// together with the process-wide shared tables they fall back on. UI thread only.
class CSkinResources {
public:
    CSkinResources() = default;
    CSkinResources(const CSkinResources&) = delete;
    CSkinResources& operator=(const CSkinResources&) = delete;

    // Every later Add goes to the shared tables.
    void SetForceShared(bool force) { forceShared_ = force; }
    bool IsForceShared() const { return forceShared_; }

    // Loads the image and stores it under `name` in place of an entry of that
    // name (kept alive until the tables go, as controls may still draw it);
    // nullptr when it cannot be loaded (nothing is stored then).
    const TImageEntry* AddImage(const std::string& name, const std::string& type = "", uint32_t mask = 0,
                                bool useHsl = false, bool shared = false);
    // Own table, then shared; no loading.
    const TImageEntry* FindImage(const std::string& name) const;
    // FindImage, else AddImage to the own table. The name alone is the key:
    // type, mask and HSL flag of the first load stay in force.
    const TImageEntry* GetImage(const std::string& name, const std::string& type = "", uint32_t mask = 0,
                                bool useHsl = false);

    // Stores the font under its id, replacing one with that id; nullptr when
    // the font cannot be created.
    const TFontEntry* AddFont(int id, std::string_view face, int size, bool bold, bool underline, bool italic,
                              bool shared = false);
    // id >= 0: own table, then shared. Otherwise, or when absent: the default font.
    const TFontEntry* GetFont(int id) const;
    // Shared replaces the process-wide default font, otherwise this manager's.
    void SetDefaultFont(std::string_view face, int size, bool bold, bool underline, bool italic, bool shared = false);
    // This manager's default font, else the process-wide one.
    const TFontEntry* GetDefaultFont() const;

    // Attribute lists of the "Default" elements, keyed by control class name.
    void AddDefaultAttributeList(const std::string& className, std::string_view list, bool shared = false);
    // Own table, then shared; "" when none.
    std::string_view GetDefaultAttributeList(std::string_view className) const;

    // Frees every shared table and the process-wide default font.
    static void ClearShared();

    // Builds a font entry from the default GUI font with the given changes.
    static std::unique_ptr<TFontEntry> CreateFont(std::string_view face, int size, bool bold, bool underline,
                                                  bool italic);

private:
    using ImageTable = std::map<std::string, std::unique_ptr<TImageEntry>, std::less<>>;
    using FontTable = std::map<int, std::unique_ptr<TFontEntry>>;
    using AttributeTable = std::map<std::string, std::string, std::less<>>;

    bool UseShared(bool shared) const { return shared || forceShared_; }

    bool forceShared_ = false;
    ImageTable images_;
    FontTable fonts_;
    AttributeTable defaultAttributes_;
    std::unique_ptr<TFontEntry> defaultFont_;
    // Images replaced under their name; controls may still point at them.
    std::vector<std::unique_ptr<TImageEntry>> retiredImages_;
};

}  // namespace SkinUI
