#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace SkinUI {

class CXmlMarkup;

// A light handle on one element of a parsed document; valid while the
// document lives. Only the first 64 attributes of an element are visible.
class CXmlNode {
public:
    static constexpr int kMaxAttributes = 64;

    CXmlNode() = default;
    CXmlNode(const CXmlMarkup* owner, uint32_t element) : owner_(owner), element_(element) {}

    bool IsValid() const { return owner_ != nullptr && element_ != 0; }
    std::string_view GetName() const;
    CXmlNode GetParent() const;
    CXmlNode GetChild() const;
    CXmlNode GetSibling() const;
    bool HasChildren() const { return GetChild().IsValid(); }

    int GetAttributeCount() const;
    // "" for an index outside the range.
    std::string_view GetAttributeName(int index) const;
    std::string_view GetAttributeValue(int index) const;
    // Exact, case-sensitive name; nullopt when absent.
    std::optional<std::string_view> GetAttributeValue(std::string_view name) const;
    // Copies at most size - 1 bytes (never cutting a character) and a NUL;
    // false when absent or size is 0.
    bool GetAttributeValue(std::string_view name, char* buffer, std::size_t size) const;

private:
    const CXmlMarkup* owner_ = nullptr;
    uint32_t element_ = 0;
};

}  // namespace SkinUI
