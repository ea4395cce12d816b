#include "skinui/CXmlMarkup.h"

#include "platform/TextConversion.h"
#include "skinui/CResourceSettings.h"

#include <array>

namespace SkinUI {
namespace {

constexpr unsigned kCodePageUtf16Le = 1200;
constexpr unsigned kCodePageUtf16Be = 1201;

struct EntityText {
    std::string_view reference;
    char character;
};
constexpr std::array<EntityText, 5> kEntities{{
    {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}}};

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

bool IsNameCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
           c == '_' || c == ':' || byte >= 0x80;
}

const char* ReadFailureMessage(SkinReadStatus status)
{
    switch (status) {
    case SkinReadStatus::FileOpenFailed: return "Error opening file";
    case SkinReadStatus::FileEmpty: return "File is empty";
    case SkinReadStatus::FileTooLarge: return "File too large";
    case SkinReadStatus::FileShortRead: return "Could not read file";
    case SkinReadStatus::ArchiveOpenFailed: return "Error opening zip file";
    case SkinReadStatus::EntryNotFound: return "Could not find ziped file";
    case SkinReadStatus::EntryCopyFailed: return "Could not unzip file";
    case SkinReadStatus::Ok: break;
    }
    return "";
}

// The document ends at the first NUL, as a C string would.
std::string UpToNul(std::string text)
{
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

}  // namespace

CXmlMarkup::CXmlMarkup(std::string_view text)
{
    if (!text.empty()) Load(text);
}

bool CXmlMarkup::Load(std::string_view text)
{
    Release();
    text_ = UpToNul(Platform::SanitizeUtf8(text));
    return Parse();
}

bool CXmlMarkup::LoadFromMem(std::string_view bytes, int encoding)
{
    Release();
    if (encoding == kEncodingUnicode) {
        const bool littleEndian = bytes.starts_with("\xFF\xFE");
        if (!littleEndian && !bytes.starts_with("\xFE\xFF")) return FailBeforeParsing("Unsupported encoding");
        text_ = Platform::DecodeCodePage(bytes.substr(2), littleEndian ? kCodePageUtf16Le : kCodePageUtf16Be);
    } else if (encoding == kEncodingAnsi) {
        text_ = Platform::DecodeCodePage(bytes, Platform::kCodePageAnsi);
    } else {
        if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
        text_ = Platform::SanitizeUtf8(bytes);
    }
    text_ = UpToNul(std::move(text_));
    return Parse();
}

bool CXmlMarkup::LoadFromFile(const std::string& fileName, int encoding)
{
    Release();
    std::string bytes;
    const SkinReadStatus status = CResourceSettings::ReadSkinFile(fileName, bytes, kMaxFileBytes);
    if (status != SkinReadStatus::Ok) return FailBeforeParsing(ReadFailureMessage(status));
    return LoadFromMem(bytes, encoding);
}

void CXmlMarkup::Release()
{
    text_.clear();
    elements_.clear();
    attributes_.clear();
    errorMessage_.clear();
    errorContext_.clear();
}

CXmlNode CXmlMarkup::GetRoot() const
{
    return IsValid() ? CXmlNode(this, 1) : CXmlNode();
}

bool CXmlMarkup::Parse()
{
    elements_.assign(1, Element());
    std::size_t pos = 0;
    return ParseLevel(pos, 0, 0);
}

bool CXmlMarkup::ParseLevel(std::size_t& pos, uint32_t parent, int depth)
{
    if (depth > kMaxDepth) return Fail("Elements nested too deeply", pos);
    SkipBlanks(pos);
    uint32_t previous = 0;
    for (;;) {
        // Only the top level and the root's children may run to the end of the text.
        if (pos >= text_.size() && parent <= 1) return true;
        if (pos >= text_.size() || text_[pos] != '<') return Fail("Expected start tag", pos);
        if (IsAt(pos, "</")) return true;
        if (IsAt(pos, "<!") || IsAt(pos, "<?")) {
            SkipPast(pos, text_[pos + 1] == '!' ? "->" : "?>");
        } else if (!ParseElement(pos, parent, previous, depth)) {
            return false;
        }
        SkipBlanks(pos);
    }
}

bool CXmlMarkup::ParseElement(std::size_t& pos, uint32_t parent, uint32_t& previous, int depth)
{
    ++pos;
    const uint32_t element = AppendElement(pos, parent, previous);
    previous = element;
    SkipName(pos);
    elements_[element].nameLength = static_cast<uint32_t>(pos - elements_[element].start);
    if (elements_[element].nameLength == 0) return Fail("Error parsing element name", pos);
    if (!ParseAttributes(pos, element)) return false;
    SkipBlanks(pos);
    if (IsAt(pos, "/>")) {
        elements_[element].data = static_cast<uint32_t>(pos);
        pos += 2;
        return true;
    }
    if (!IsAt(pos, ">")) return Fail("Expected start-tag closing", pos);
    elements_[element].data = static_cast<uint32_t>(++pos);
    pos = std::min(text_.find('<', pos), text_.size());
    if (pos >= text_.size()) return parent <= 1 ? true : Fail("Expected end-tag start", pos);
    if (!IsAt(pos, "</") && !ParseLevel(pos, element, depth + 1)) return false;
    // Children that ran to the end of the text belong to the root; the end is fine there.
    if (pos >= text_.size()) return true;
    return ParseClosingTag(pos, element);
}

bool CXmlMarkup::ParseAttributes(std::size_t& pos, uint32_t element)
{
    elements_[element].firstAttribute = static_cast<uint32_t>(attributes_.size());
    for (;;) {
        SkipBlanks(pos);
        if (pos >= text_.size() || text_[pos] == '/' || text_[pos] == '>') return true;
        Attribute attribute;
        attribute.name = static_cast<uint32_t>(pos);
        SkipName(pos);
        attribute.nameLength = static_cast<uint32_t>(pos - attribute.name);
        SkipBlanks(pos);
        if (!IsAt(pos, "=")) return Fail("Error while parsing attributes", pos);
        ++pos;
        SkipBlanks(pos);
        if (!IsAt(pos, "\"")) return Fail("Expected attribute value", pos);
        attribute.value = static_cast<uint32_t>(++pos);
        if (!DecodeValue(pos, attribute.valueLength)) return Fail("Error while parsing attribute string", pos);
        attributes_.push_back(attribute);
        ++elements_[element].attributeCount;
    }
}

bool CXmlMarkup::ParseClosingTag(std::size_t& pos, uint32_t element)
{
    pos += 2;
    SkipBlanks(pos);
    const std::string_view name = Slice(elements_[element].start, elements_[element].nameLength);
    if (!IsAt(pos, name)) return Fail("Unmatched closing tag", pos);
    pos += name.size();
    SkipBlanks(pos);
    if (!IsAt(pos, ">")) return Fail("Unmatched closing tag", pos);
    ++pos;
    return true;
}

uint32_t CXmlMarkup::AppendElement(std::size_t start, uint32_t parent, uint32_t previous)
{
    if (elements_.size() == elements_.capacity()) {
        elements_.reserve(elements_.capacity() + elements_.capacity() / 2 + 500);
    }
    const auto index = static_cast<uint32_t>(elements_.size());
    Element element;
    element.start = static_cast<uint32_t>(start);
    element.parent = parent;
    elements_.push_back(element);
    if (previous != 0) {
        elements_[previous].next = index;
    } else if (parent != 0) {
        elements_[parent].child = index;
    }
    return index;
}

void CXmlMarkup::SkipBlanks(std::size_t& pos) const
{
    while (pos < text_.size() && IsBlank(text_[pos])) ++pos;
}

void CXmlMarkup::SkipName(std::size_t& pos) const
{
    while (pos < text_.size() && IsNameCharacter(text_[pos])) ++pos;
}

void CXmlMarkup::SkipPast(std::size_t& pos, std::string_view terminator) const
{
    const std::size_t found = text_.find(terminator, pos + 2);
    pos = found == std::string::npos ? text_.size() : found + terminator.size();
}

bool CXmlMarkup::DecodeValue(std::size_t& pos, uint32_t& length)
{
    std::size_t write = pos;
    const std::size_t start = pos;
    while (pos < text_.size() && text_[pos] != '"') {
        char c = text_[pos++];
        if (c == '&') {
            for (const EntityText& entity : kEntities) {
                if (IsAt(pos - 1, entity.reference)) {
                    c = entity.character;
                    pos += entity.reference.size() - 1;
                    break;
                }
            }
        } else if (c == ' ' && !preserveWhitespace_) {
            SkipBlanks(pos);
        }
        text_[write++] = c;
    }
    if (pos >= text_.size()) return false;
    ++pos;
    length = static_cast<uint32_t>(write - start);
    return true;
}

bool CXmlMarkup::Fail(const char* message, std::size_t pos)
{
    std::string context = text_.substr(std::min(pos, text_.size()), kMaxErrorContextChars * 4);
    FailBeforeParsing(message);
    Platform::TruncateUtf8(context, kMaxErrorContextChars);
    errorContext_ = std::move(context);
    return false;
}

bool CXmlMarkup::FailBeforeParsing(const char* message)
{
    Release();
    errorMessage_ = message;
    Platform::TruncateUtf8(errorMessage_, kMaxErrorMessageChars);
    return false;
}

}  // namespace SkinUI
