#pragma once

// What the main window needs of a language combo box: a skin control named
// "languageCombo" offers it through GetInterface(kInterfaceName). Items are
// the language indexes in table order.
class ILanguageCombo {
public:
    static constexpr const char* kControlName = "languageCombo";
    static constexpr const char* kInterfaceName = "LanguageCombo";

    // The selected item, or -1 when none is.
    virtual int GetCurSel() const = 0;
    // Selects an item; with notify, the control sends "itemselect" when the
    // selection changed. False when the index is not an item.
    virtual bool SelectItem(int index, bool takeFocus, bool notify) = 0;

protected:
    ~ILanguageCombo() = default;
};
