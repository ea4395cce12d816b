#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace SkinUI {

// The process-wide multi-language string table and its %{id} tokens. UI thread only.
class CMultiLanguage {
public:
    // Replaces the text stored under id.
    static void AddString(int id, std::string_view text);
    static std::optional<std::string> GetString(int id);
    static void RemoveAll();

    // Every %{digits} token whose id the table holds ("%{}" is id 0) is
    // replaced by the table's text, every occurrence of it; others stay.
    static void ReplaceTokens(std::string& text);
};

}  // namespace SkinUI
