#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A strict reader for the skin dialect, independent of the framework's own markup reader:
// it accepts only what the skins may contain (declaration, comments, elements with
// double-quoted attributes, no text) and answers the first fault it meets.
class XmlElement {
public:
    static std::optional<XmlElement> Parse(std::string_view text, std::string* error);

    const std::string& Name() const { return name_; }
    const std::vector<std::pair<std::string, std::string>>& Attributes() const { return attributes_; }
    const std::vector<XmlElement>& Children() const { return children_; }
    // The attribute's value with entity references resolved, or null when absent.
    const std::string* Attribute(std::string_view name) const;
    // This element and every descendant, in document order.
    void Visit(const std::function<void(const XmlElement&)>& visitor) const;

private:
    friend class XmlReader;

    std::string name_;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::vector<XmlElement> children_;
};
