#pragma once

#include "skinui/CXmlNode.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

// The XML subset of skin files: elements, double-quoted attributes, the five
// predefined entities, comments and processing instructions (skipped).
class CXmlMarkup {
public:
    enum Encoding { kEncodingUtf8 = 0, kEncodingUnicode = 1, kEncodingAnsi = 2 };

    static constexpr std::size_t kMaxFileBytes = 4u << 20;
    static constexpr std::size_t kMaxErrorMessageChars = 99;
    static constexpr std::size_t kMaxErrorContextChars = 49;
    // Deeper documents are refused rather than parsed at the cost of the stack.
    static constexpr int kMaxDepth = 256;

    explicit CXmlMarkup(std::string_view text = {});

    bool IsValid() const { return elements_.size() > 1; }
    void SetPreserveWhitespace(bool preserve) { preserveWhitespace_ = preserve; }

    // UTF-8 text.
    bool Load(std::string_view text);
    // kEncodingUnicode needs a byte-order mark (FF FE or FE FF).
    bool LoadFromMem(std::string_view bytes, int encoding = kEncodingUtf8);
    // Reads the skin file through the process-wide resource settings.
    bool LoadFromFile(const std::string& fileName, int encoding = kEncodingUtf8);
    void Release();

    CXmlNode GetRoot() const;
    const std::string& GetLastErrorMessage() const { return errorMessage_; }
    const std::string& GetLastErrorLocation() const { return errorContext_; }

private:
    friend class CXmlNode;

    struct Element {
        uint32_t start = 0;
        uint32_t nameLength = 0;
        uint32_t child = 0;
        uint32_t next = 0;
        uint32_t parent = 0;
        uint32_t data = 0;
        uint32_t firstAttribute = 0;
        uint32_t attributeCount = 0;
    };
    struct Attribute {
        uint32_t name = 0;
        uint32_t nameLength = 0;
        uint32_t value = 0;
        uint32_t valueLength = 0;
    };

    bool Parse();
    bool ParseLevel(std::size_t& pos, uint32_t parent, int depth);
    bool ParseElement(std::size_t& pos, uint32_t parent, uint32_t& previous, int depth);
    bool ParseAttributes(std::size_t& pos, uint32_t element);
    bool ParseClosingTag(std::size_t& pos, uint32_t element);
    uint32_t AppendElement(std::size_t start, uint32_t parent, uint32_t previous);
    void SkipBlanks(std::size_t& pos) const;
    void SkipName(std::size_t& pos) const;
    void SkipPast(std::size_t& pos, std::string_view terminator) const;
    // Decodes entities in place up to the closing quote, leaving pos past it;
    // false when the quote is missing.
    bool DecodeValue(std::size_t& pos, uint32_t& length);
    bool IsAt(std::size_t pos, std::string_view what) const { return text_.compare(pos, what.size(), what) == 0; }
    bool Fail(const char* message, std::size_t pos);
    bool FailBeforeParsing(const char* message);
    std::string_view Slice(uint32_t offset, uint32_t length) const
    {
        return std::string_view(text_).substr(offset, length);
    }

    std::string text_;
    std::vector<Element> elements_;
    std::vector<Attribute> attributes_;
    bool preserveWhitespace_ = true;
    std::string errorMessage_;
    std::string errorContext_;
};

}  // namespace SkinUI
