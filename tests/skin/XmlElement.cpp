#include "XmlElement.h"

#include "platform/TextConversion.h"

#include <cctype>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':';
}

// The framework's reader takes exactly these characters in names.
bool IsNameChar(char c)
{
    return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c));
}

}  // namespace

class XmlReader {
public:
    explicit XmlReader(std::string_view text) : text_(text) {}

    std::optional<XmlElement> Document(std::string* error)
    {
        std::optional<XmlElement> root;
        if (Platform::SanitizeUtf8(text_) != text_)
            Fail("invalid UTF-8");
        SkipMisc();
        if (ok_)
            root = Element(0);
        SkipMisc();
        if (ok_ && position_ != text_.size())
            Fail("content after the root element");
        if (!ok_) {
            if (error)
                *error = error_;
            return std::nullopt;
        }
        return root;
    }

private:
    static constexpr int kMaxDepth = 64;

    void Fail(const std::string& message)
    {
        if (ok_)
            error_ = message + " at offset " + std::to_string(position_);
        ok_ = false;
    }

    bool StartsWith(std::string_view prefix) const { return text_.substr(position_).starts_with(prefix); }

    void SkipBlanks()
    {
        while (position_ < text_.size() && IsBlank(text_[position_]))
            ++position_;
    }

    void SkipPast(std::string_view end, const char* what)
    {
        const std::size_t found = text_.find(end, position_);
        if (found == std::string_view::npos) {
            Fail(std::string("unterminated ") + what);
            position_ = text_.size();
            return;
        }
        position_ = found + end.size();
    }

    // Blanks, comments and processing instructions between elements.
    void SkipMisc()
    {
        while (ok_) {
            SkipBlanks();
            if (StartsWith("<!--"))
                SkipPast("-->", "comment");
            else if (StartsWith("<?"))
                SkipPast("?>", "declaration");
            else
                return;
        }
    }

    std::string Name()
    {
        const std::size_t start = position_;
        if (position_ < text_.size() && IsNameStart(text_[position_])) {
            ++position_;
            while (position_ < text_.size() && IsNameChar(text_[position_]))
                ++position_;
        }
        if (start == position_)
            Fail("expected a name");
        return std::string(text_.substr(start, position_ - start));
    }

    std::string Resolve(std::string_view raw)
    {
        static constexpr std::pair<std::string_view, char> kEntities[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        std::string value;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '<')
                Fail("'<' inside an attribute value");
            if (raw[i] != '&') {
                value += raw[i];
                continue;
            }
            bool known = false;
            for (const auto& [entity, character] : kEntities) {
                if (raw.substr(i).starts_with(entity)) {
                    value += character;
                    i += entity.size() - 1;
                    known = true;
                    break;
                }
            }
            if (!known)
                Fail("unknown entity reference");
        }
        return value;
    }

    void Attributes(XmlElement& element)
    {
        while (ok_) {
            const bool separated = position_ < text_.size() && IsBlank(text_[position_]);
            SkipBlanks();
            if (position_ >= text_.size() || text_[position_] == '/' || text_[position_] == '>')
                return;
            if (!separated)
                Fail("attributes must be separated by blanks");
            std::string name = Name();
            SkipBlanks();
            if (!ok_ || position_ >= text_.size() || text_[position_] != '=')
                return Fail("expected '=' after attribute " + name);
            ++position_;
            SkipBlanks();
            if (position_ >= text_.size() || text_[position_] != '"')
                return Fail("expected a double-quoted value for " + name);
            const std::size_t end = text_.find('"', ++position_);
            if (end == std::string_view::npos)
                return Fail("unterminated value of " + name);
            if (element.Attribute(name))
                return Fail("duplicate attribute " + name);
            std::string value = Resolve(text_.substr(position_, end - position_));
            element.attributes_.emplace_back(std::move(name), std::move(value));
            position_ = end + 1;
        }
    }

    void Children(XmlElement& element, int depth)
    {
        while (ok_) {
            SkipMisc();
            if (position_ >= text_.size())
                return Fail("missing </" + element.name_ + ">");
            if (StartsWith("</"))
                break;
            if (text_[position_] != '<')
                return Fail("text content is not allowed");
            element.children_.push_back(Element(depth + 1));
        }
        if (!ok_)
            return;
        position_ += 2;
        const std::string closing = Name();
        SkipBlanks();
        if (closing != element.name_ || position_ >= text_.size() || text_[position_] != '>')
            return Fail("mismatched closing tag </" + closing + "> for <" + element.name_ + ">");
        ++position_;
    }

    XmlElement Element(int depth)
    {
        XmlElement element;
        if (depth > kMaxDepth) {
            Fail("nesting too deep");
            return element;
        }
        if (position_ >= text_.size() || text_[position_] != '<') {
            Fail("expected an element");
            return element;
        }
        ++position_;
        element.name_ = Name();
        Attributes(element);
        if (!ok_)
            return element;
        if (StartsWith("/>")) {
            position_ += 2;
            return element;
        }
        if (!StartsWith(">")) {
            Fail("expected '>'");
            return element;
        }
        ++position_;
        Children(element, depth);
        return element;
    }

    std::string_view text_;
    std::size_t position_ = 0;
    bool ok_ = true;
    std::string error_;
};

std::optional<XmlElement> XmlElement::Parse(std::string_view text, std::string* error)
{
    // The framework skips a UTF-8 byte-order mark; so does this check.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return XmlReader(text).Document(error);
}

const std::string* XmlElement::Attribute(std::string_view name) const
{
    for (const auto& [key, value] : attributes_) {
        if (key == name)
            return &value;
    }
    return nullptr;
}

void XmlElement::Visit(const std::function<void(const XmlElement&)>& visitor) const
{
    visitor(*this);
    for (const XmlElement& child : children_)
        child.Visit(visitor);
}
