#include "skinui/CSkinResources.h"

#include "platform/TextConversion.h"
#include "skinui/CImageLoader.h"

#include <algorithm>

namespace SkinUI {
namespace {

// The platform's default GUI font.
constexpr const char* kDefaultFace = "Sans";
constexpr int kDefaultSize = 12;
constexpr int kNormalWeight = 400;
constexpr int kBoldIncrease = 700;
constexpr std::size_t kMaxFaceChars = 31;
// Faces of the Windows skins are rarely installed here: Pango tries these
// next, so Latin and CJK text both land in an installed CJK font.
constexpr const char* kFallbackFamilies = "WenQuanYi Micro Hei,Noto Sans CJK SC,Droid Sans Fallback,sans-serif";

// The face first, its Latin name when it has one, then the fallbacks.
std::string FamilyList(const std::string& face)
{
    std::string families = face.empty() ? kDefaultFace : face;
    if (face == "微软雅黑") families += ",Microsoft YaHei";
    return families + "," + kFallbackFamilies;
}

struct SharedTables {
    std::map<std::string, std::unique_ptr<TImageEntry>, std::less<>> images;
    std::map<int, std::unique_ptr<TFontEntry>> fonts;
    std::map<std::string, std::string, std::less<>> defaultAttributes;
    std::unique_ptr<TFontEntry> defaultFont;
    std::vector<std::unique_ptr<TImageEntry>> retiredImages;
};

SharedTables& Shared()
{
    static SharedTables tables;
    return tables;
}

template <typename Table>
auto FindIn(const Table& table, const auto& key) -> decltype(table.begin()->second.get())
{
    auto found = table.find(key);
    return found == table.end() ? nullptr : found->second.get();
}

}  // namespace

const TImageEntry* CSkinResources::AddImage(const std::string& name, const std::string& type, uint32_t mask,
                                            bool useHsl, bool shared)
{
    std::unique_ptr<TImageEntry> image = CImageLoader::Load(name, type, mask);
    if (image == nullptr) return nullptr;
    image->useHsl = useHsl;
    if (useHsl) image->sourcePixels.assign(image->pixels, image->pixels + image->width * image->height);
    const bool toShared = UseShared(shared);
    auto& slot = toShared ? Shared().images[name] : images_[name];
    if (slot != nullptr) (toShared ? Shared().retiredImages : retiredImages_).push_back(std::move(slot));
    slot = std::move(image);
    return slot.get();
}

const TImageEntry* CSkinResources::FindImage(const std::string& name) const
{
    const TImageEntry* own = FindIn(images_, name);
    return own != nullptr ? own : FindIn(Shared().images, name);
}

const TImageEntry* CSkinResources::GetImage(const std::string& name, const std::string& type, uint32_t mask,
                                            bool useHsl)
{
    const TImageEntry* image = FindImage(name);
    return image != nullptr ? image : AddImage(name, type, mask, useHsl, false);
}

std::unique_ptr<TFontEntry> CSkinResources::CreateFont(std::string_view face, int size, bool bold, bool underline,
                                                       bool italic)
{
    auto entry = std::make_unique<TFontEntry>();
    entry->face = Platform::SanitizeUtf8(face);
    Platform::TruncateUtf8(entry->face, kMaxFaceChars);
    entry->size = size;
    entry->bold = bold;
    entry->underline = underline;
    entry->italic = italic;
    entry->font = pango_font_description_new();
    pango_font_description_set_family(entry->font, FamilyList(entry->face).c_str());
    // A cell height of 0 keeps the default; a negative one is taken by its size.
    const int pixels = size == 0 ? kDefaultSize : std::min(std::abs(size), 4096);
    pango_font_description_set_absolute_size(entry->font, pixels * PANGO_SCALE);
    const int weight = bold ? kNormalWeight + kBoldIncrease : kNormalWeight;
    pango_font_description_set_weight(entry->font, static_cast<PangoWeight>(std::min(weight, 1000)));
    pango_font_description_set_style(entry->font, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return entry;
}

const TFontEntry* CSkinResources::AddFont(int id, std::string_view face, int size, bool bold, bool underline,
                                          bool italic, bool shared)
{
    auto& slot = UseShared(shared) ? Shared().fonts[id] : fonts_[id];
    slot = CreateFont(face, size, bold, underline, italic);
    return slot.get();
}

const TFontEntry* CSkinResources::GetFont(int id) const
{
    if (id >= 0) {
        const TFontEntry* own = FindIn(fonts_, id);
        if (own != nullptr) return own;
        const TFontEntry* shared = FindIn(Shared().fonts, id);
        if (shared != nullptr) return shared;
    }
    return GetDefaultFont();
}

void CSkinResources::SetDefaultFont(std::string_view face, int size, bool bold, bool underline, bool italic,
                                    bool shared)
{
    auto& slot = shared ? Shared().defaultFont : defaultFont_;
    slot = CreateFont(face, size, bold, underline, italic);
}

const TFontEntry* CSkinResources::GetDefaultFont() const
{
    if (defaultFont_ != nullptr) return defaultFont_.get();
    auto& processDefault = Shared().defaultFont;
    if (processDefault == nullptr) processDefault = CreateFont(kDefaultFace, kDefaultSize, false, false, false);
    return processDefault.get();
}

void CSkinResources::AddDefaultAttributeList(const std::string& className, std::string_view list, bool shared)
{
    auto& table = shared ? Shared().defaultAttributes : defaultAttributes_;
    table[className] = std::string(list);
}

std::string_view CSkinResources::GetDefaultAttributeList(std::string_view className) const
{
    auto own = defaultAttributes_.find(className);
    if (own != defaultAttributes_.end()) return own->second;
    auto shared = Shared().defaultAttributes.find(className);
    return shared != Shared().defaultAttributes.end() ? std::string_view(shared->second) : std::string_view();
}

void CSkinResources::ClearShared()
{
    Shared() = SharedTables();
}

}  // namespace SkinUI
