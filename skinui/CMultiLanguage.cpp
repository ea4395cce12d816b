#include "skinui/CMultiLanguage.h"

#include <map>

namespace SkinUI {
namespace {

std::map<int, std::string>& Table()
{
    static std::map<int, std::string> table;
    return table;
}

// Length of the "%{digits}" token at text[pos], 0 when there is none there;
// id receives its number (no digits = 0, too many digits = -1 = never found).
std::size_t TokenAt(std::string_view text, std::size_t pos, int& id)
{
    if (pos + 2 >= text.size() || text[pos] != '%' || text[pos + 1] != '{') return 0;
    std::size_t end = pos + 2;
    long long value = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        if (value <= 0x7FFFFFFF) value = value * 10 + (text[end] - '0');
        ++end;
    }
    if (end >= text.size() || text[end] != '}') return 0;
    id = value > 0x7FFFFFFF ? -1 : static_cast<int>(value);
    return end + 1 - pos;
}

void ReplaceAll(std::string& text, std::string_view token, std::string_view replacement, std::size_t from)
{
    for (std::size_t at = text.find(token, from); at != std::string::npos;
         at = text.find(token, at + replacement.size())) {
        text.replace(at, token.size(), replacement);
    }
}

}  // namespace

void CMultiLanguage::AddString(int id, std::string_view text)
{
    Table()[id] = std::string(text);
}

std::optional<std::string> CMultiLanguage::GetString(int id)
{
    auto found = Table().find(id);
    if (found == Table().end()) return std::nullopt;
    return found->second;
}

void CMultiLanguage::RemoveAll()
{
    Table().clear();
}

// Replacement texts are not scanned again: a text holding its own token
// would otherwise grow without end.
void CMultiLanguage::ReplaceTokens(std::string& text)
{
    std::size_t pos = text.find('%');
    while (pos != std::string::npos) {
        int id = 0;
        const std::size_t length = TokenAt(text, pos, id);
        auto found = length == 0 ? Table().end() : Table().find(id);
        std::size_t next = pos + 1;
        if (found != Table().end()) {
            const std::string token = text.substr(pos, length);
            ReplaceAll(text, token, found->second, pos);
            next = pos + found->second.size();
        }
        pos = text.find('%', next);
    }
}

}  // namespace SkinUI
