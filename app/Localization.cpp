#include "app/Localization.h"

#include "app/LaunchSettings.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/TextConversion.h"
#include "skinui/CLabelUI.h"
#include "skinui/CManagerUI.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/CResourceSettings.h"
#include "utils/DebugLog.h"

#include <json/json.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace {

using Platform::EqualsIgnoringCase;

constexpr std::array<std::string_view, Localization::kLanguageCount> kLanguageTags{
    "en-US", "zh-CN", "zh-TW", "id-ID", "tr-TR", "de-DE", "fr-FR",
    "es-ES", "pt-PT", "ja-JP", "ko-KR", "pl-PL", "nl-NL", "it-IT"};

constexpr unsigned kPrimarySpanish = 0x0A;
constexpr unsigned kEnglishUs = 0x0409;

struct SystemLanguage {
    unsigned languageId;
    int index;
};

constexpr SystemLanguage kSystemLanguages[] = {
    {0x0409, 0}, {0x0404, 2}, {0x0421, 3},  {0x041F, 4},  {0x0407, 5},  {0x040C, 6}, {0x0416, 8},
    {0x0411, 9}, {0x0412, 10}, {0x0415, 11}, {0x0413, 12}, {0x0813, 12}, {0x0410, 13},
};

// A locale's language and territory; an empty territory stands for the bare language.
struct LocaleLanguage {
    std::string_view language;
    std::string_view territory;
    unsigned languageId;
};

constexpr unsigned Spanish(unsigned sublanguage) { return kPrimarySpanish | (sublanguage << 10); }

constexpr LocaleLanguage kLocaleLanguages[] = {
    {"en", "", 0x0409}, {"en", "US", 0x0409}, {"zh", "", 0x0804}, {"zh", "CN", 0x0804}, {"zh", "TW", 0x0404},
    {"id", "", 0x0421}, {"id", "ID", 0x0421}, {"tr", "", 0x041F}, {"tr", "TR", 0x041F}, {"de", "", 0x0407},
    {"de", "DE", 0x0407}, {"fr", "", 0x040C}, {"fr", "FR", 0x040C}, {"pt", "", 0x0416}, {"pt", "BR", 0x0416},
    {"pt", "PT", 0x0816}, {"ja", "", 0x0411}, {"ja", "JP", 0x0411}, {"ko", "", 0x0412}, {"ko", "KR", 0x0412},
    {"pl", "", 0x0415}, {"pl", "PL", 0x0415}, {"nl", "", 0x0413}, {"nl", "NL", 0x0413}, {"nl", "BE", 0x0813},
    {"it", "", 0x0410}, {"it", "IT", 0x0410},
    // Spanish by sublanguage; the United States (21) lies outside the table's 1 to 20.
    {"es", "", Spanish(3)}, {"es", "ES", Spanish(3)}, {"es", "MX", Spanish(2)}, {"es", "GT", Spanish(4)},
    {"es", "CR", Spanish(5)}, {"es", "PA", Spanish(6)}, {"es", "DO", Spanish(7)}, {"es", "VE", Spanish(8)},
    {"es", "CO", Spanish(9)}, {"es", "PE", Spanish(10)}, {"es", "AR", Spanish(11)}, {"es", "EC", Spanish(12)},
    {"es", "CL", Spanish(13)}, {"es", "UY", Spanish(14)}, {"es", "PY", Spanish(15)}, {"es", "BO", Spanish(16)},
    {"es", "SV", Spanish(17)}, {"es", "HN", Spanish(18)}, {"es", "NI", Spanish(19)}, {"es", "PR", Spanish(20)},
    {"es", "US", Spanish(21)},
};

// Labels whose width follows their text after a language change.
constexpr const char* kFittedLabels[] = {"lbLanguage", "lbInstallPath", "backBtn"};

// An unknown tag keeps the index; an index outside the table becomes 0 either way.
int ChooseIndex(int index, std::string_view tag)
{
    if (!tag.empty()) {
        const std::string ansiTag = Platform::EncodeCodePage(tag, Platform::kCodePageAnsi);
        for (int i = 0; i < Localization::kLanguageCount; ++i) {
            if (kLanguageTags[i] == ansiTag) return i;
        }
    }
    return Localization::LanguageTag(index).empty() ? 0 : index;
}

bool ParseJson(std::string_view text, Json::Value& root)
{
    const Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    try {
        return reader->parse(text.data(), text.data() + text.size(), &root, &errors);
    } catch (const std::exception& error) {
        // The reader throws when nesting exceeds its depth limit.
        errors = error.what();
        return false;
    }
}

// Text of one element in one language; elements the table cannot take are skipped.
void AddElementText(const Json::Value& element, const char* tag)
{
    if (!element.isObject()) return;
    const Json::Value& id = element["id"];
    const Json::Value& text = element[tag];
    // Arrays and objects convert to neither.
    if (!id.isConvertibleTo(Json::intValue) || !text.isConvertibleTo(Json::stringValue)) return;
    std::string utf8 = text.asString();
    if (Platform::SanitizeUtf8(utf8) != utf8) utf8.clear();
    // Table texts are C strings: an escaped NUL ends the text.
    utf8.resize(std::string_view(utf8.c_str()).size());
    SkinUI::CMultiLanguage::AddString(id.asInt(), utf8);
}

bool ReadLanguageFile(std::string& bytes)
{
    // Only the skin archive carries the file; loose skin files have none.
    if (SkinUI::CResourceSettings::GetArchiveName().empty()) return false;
    const SkinUI::SkinReadStatus status =
        SkinUI::CResourceSettings::ReadSkinFile(Localization::kLanguageFile, bytes, Localization::kMaxLanguageFileBytes);
    if (status != SkinUI::SkinReadStatus::Ok) {
        DEBUG_LOG("language.json not loaded (status %d)", static_cast<int>(status));
        return false;
    }
    return true;
}

void FitLabelToText(SkinUI::CLabelUI& label, SkinUI::CManagerUI& window)
{
    const std::string text = window.ReplaceTokens(label.GetText());
    const SkinUI::UISize size = window.MeasureText(label.GetFont(), text, label.GetTextStyle(), 0);
    label.SetFixedWidth(size.cx + label.GetTextPadding().left);
}

}  // namespace

std::string_view Localization::LanguageTag(int index)
{
    return index >= 0 && index < kLanguageCount ? kLanguageTags[index] : std::string_view();
}

int Localization::LanguageIndexOfSystemId(unsigned languageId)
{
    const unsigned sublanguage = languageId >> 10;
    if ((languageId & 0x3FF) == kPrimarySpanish && sublanguage >= 1 && sublanguage <= 20) return 7;
    for (const SystemLanguage& entry : kSystemLanguages) {
        if (entry.languageId == languageId) return entry.index;
    }
    return 0;
}

unsigned Localization::LanguageIdOfLocale(std::string_view locale)
{
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX") return kEnglishUs;
    const size_t separator = locale.find('_');
    const std::string_view language = locale.substr(0, separator);
    const std::string_view territory = separator == std::string_view::npos ? "" : locale.substr(separator + 1);
    for (const LocaleLanguage& entry : kLocaleLanguages) {
        if (EqualsIgnoringCase(entry.language, language) && EqualsIgnoringCase(entry.territory, territory)) {
            return entry.languageId;
        }
    }
    return 0;
}

std::string Localization::UserInterfaceLocale()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return "C";
}

int Localization::LoadLanguage(int index, std::string_view tag)
{
    std::string bytes;
    if (!ReadLanguageFile(bytes)) return 0;
    return LoadLanguageText(index, tag, bytes);
}

int Localization::LoadLanguageText(int index, std::string_view tag, std::string_view bytes)
{
    const std::string_view json = bytes.substr(0, bytes.find('\0'));
    const int chosen = ChooseIndex(index, tag);
    Json::Value root;
    if (!ParseJson(json, root)) {
        DEBUG_LOG("language.json is not valid JSON");
        return chosen;
    }
    if (!root.isArray() && !root.isObject()) return chosen;
    const std::string chosenTag(LanguageTag(chosen));
    for (const Json::Value& element : root) AddElementText(element, chosenTag.c_str());
    DEBUG_LOG("language %d (%s) loaded", chosen, chosenTag.c_str());
    return chosen;
}

int Localization::LanguageFromSystem()
{
    return LanguageIndexOfSystemId(LanguageIdOfLocale(UserInterfaceLocale()));
}

int Localization::LanguageFromInstallation(const std::string& folder, SkinUI::CManagerUI& window)
{
    const std::string configPath = Platform::JoinPath(folder, "config.ini");
    const std::string tag =
        Platform::FileExists(configPath) ? Platform::ReadIniString(configPath, "Install", "Language", "en-US") : "";
    const int index = LoadLanguage(0, tag);
    window.NeedUpdate();
    return index;
}

std::string Localization::CurrentLanguageTag(const SkinUI::CManagerUI& window)
{
    const ILanguageCombo* combo = FindLanguageCombo(window);
    if (combo == nullptr) return "";
    const std::string_view tag = LanguageTag(combo->GetCurSel());
    return std::string(tag.empty() ? LanguageTag(0) : tag);
}

void Localization::ApplyLanguageIndex(int index, SkinUI::CManagerUI& window)
{
    const int loaded = LoadLanguage(index, "");
    window.NeedUpdate();
    for (const char* name : kFittedLabels) {
        SkinUI::CControlUI* control = window.FindControl(name);
        auto* label = control ? static_cast<SkinUI::CLabelUI*>(control->GetInterface("Label")) : nullptr;
        if (label != nullptr) FitLabelToText(*label, window);
    }
    LaunchSettings::Instance().LanguageIndex = loaded;
}

ILanguageCombo* Localization::FindLanguageCombo(const SkinUI::CManagerUI& window)
{
    SkinUI::CControlUI* control = window.FindControl(ILanguageCombo::kControlName);
    return control ? static_cast<ILanguageCombo*>(control->GetInterface(ILanguageCombo::kInterfaceName)) : nullptr;
}

void Localization::SelectInitialLanguage(SkinUI::CManagerUI& window)
{
    ILanguageCombo* combo = FindLanguageCombo(window);
    if (combo == nullptr) return;
    int index = LaunchSettings::Instance().LanguageIndex;
    if (index == -1) index = LanguageFromSystem();
    combo->SelectItem(index, false, true);
    ApplyLanguageIndex(index, window);
}

void Localization::OnLanguageItemSelect(SkinUI::CManagerUI& window)
{
    if (const ILanguageCombo* combo = FindLanguageCombo(window)) ApplyLanguageIndex(combo->GetCurSel(), window);
}

int Localization::SelectInstallationLanguage(const std::string& folder, SkinUI::CManagerUI& window)
{
    const int index = LanguageFromInstallation(folder, window);
    if (ILanguageCombo* combo = FindLanguageCombo(window)) combo->SelectItem(index, false, true);
    return index;
}
