#pragma once

#include "app/ILanguageCombo.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace SkinUI {
class CManagerUI;
}

// The interface languages: the tag table, the choice of a language (option,
// system language, an existing installation, the combo box) and the loading of
// its texts from "language.json" of the skin archive into the multi-language
// table. User-interface thread only.
class Localization {
public:
    static constexpr int kLanguageCount = 14;
    static constexpr std::size_t kMaxLanguageFileBytes = 4194304;
    static constexpr const char* kLanguageFile = "language.json";

    // The locale tag of an index ("en-US" for 0), or "" outside the table.
    static std::string_view LanguageTag(int index);

    // The system language table: a Windows language identifier -> index.
    static int LanguageIndexOfSystemId(unsigned languageId);
    // The Windows language identifier of a POSIX locale name such as
    // "pt_BR.UTF-8"; 0 for a language the system table does not name.
    static unsigned LanguageIdOfLocale(std::string_view locale);
    // The user-interface locale: LC_ALL, else LC_MESSAGES, else LANG.
    static std::string UserInterfaceLocale();

    // Loads one language's texts and answers the index used; selects by tag
    // when tag is not empty. 0 and nothing changed when the skin archive has
    // no usable "language.json".
    static int LoadLanguage(int index, std::string_view tag);
    // LoadLanguage once the file's bytes are at hand; the JSON text ends at the first NUL.
    static int LoadLanguageText(int index, std::string_view tag, std::string_view bytes);

    static int LanguageFromSystem();
    // The language of the installation in folder ("config.ini", section
    // "Install", key "Language"), loaded; the window is laid out again.
    static int LanguageFromInstallation(const std::string& folder, SkinUI::CManagerUI& window);
    // The tag of the combo box's item; "" without a combo box, "en-US" for an
    // item outside the table.
    static std::string CurrentLanguageTag(const SkinUI::CManagerUI& window);

    // Loads a language for the window, refits its language-dependent labels
    // and makes it the launch settings' LanguageIndex.
    static void ApplyLanguageIndex(int index, SkinUI::CManagerUI& window);

    // --- the combo box hooks of the main window ---
    static ILanguageCombo* FindLanguageCombo(const SkinUI::CManagerUI& window);
    // At window start: the option's language, else the system's, selected and applied.
    static void SelectInitialLanguage(SkinUI::CManagerUI& window);
    // "itemselect" from the combo box.
    static void OnLanguageItemSelect(SkinUI::CManagerUI& window);
    // An existing installation: its language loaded and, with a combo box, selected.
    static int SelectInstallationLanguage(const std::string& folder, SkinUI::CManagerUI& window);
};
