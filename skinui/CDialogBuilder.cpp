#include "skinui/CDialogBuilder.h"

#include "platform/ResourceTable.h"
#include "platform/TextConversion.h"
#include "skinui/AttributeValue.h"
#include "skinui/CButtonUI.h"
#include "skinui/CCheckBoxUI.h"
#include "skinui/CContainerUI.h"
#include "skinui/CControlUI.h"
#include "skinui/CEditUI.h"
#include "skinui/CHorizontalLayoutUI.h"
#include "skinui/CLabelUI.h"
#include "skinui/CManagerUI.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/COptionUI.h"
#include "skinui/CProgressUI.h"
#include "skinui/CSkinResources.h"
#include "skinui/CTabLayoutUI.h"
#include "skinui/CTextUI.h"
#include "skinui/CVerticalLayoutUI.h"
#include "skinui/IDialogBuilderCallback.h"

#include <array>
#include <cstdlib>

namespace SkinUI {
namespace {

using Platform::EqualsIgnoringCase;

// An Include that includes itself, directly or not, stops at this depth...
constexpr int kMaxIncludeDepth = 16;
// ...and all the Includes under one outermost Include build at most this many
// documents, however their counts multiply.
constexpr int kMaxIncludedDocuments = 1000;

int includeDepth = 0;
int includesLeft = 0;

struct IncludeLevel {
    IncludeLevel() { ++includeDepth; }
    ~IncludeLevel() { --includeDepth; }
    IncludeLevel(const IncludeLevel&) = delete;
    IncludeLevel& operator=(const IncludeLevel&) = delete;
};

bool IsTrue(std::string_view value)
{
    return EqualsIgnoringCase(value, "true");
}

template <typename Control>
CControlUI* Make()
{
    return new Control;
}

struct ElementClass {
    std::string_view element;
    CControlUI* (*create)();
};

const std::array<ElementClass, 14> kElementTable{{
    {"Control", &Make<CControlUI>},
    {"Container", &Make<CContainerUI>},
    {"VerticalLayout", &Make<CVerticalLayoutUI>},
    {"VBox", &Make<CVerticalLayoutUI>},
    {"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {"HBox", &Make<CHorizontalLayoutUI>},
    {"TabLayout", &Make<CTabLayoutUI>},
    {"Label", &Make<CLabelUI>},
    {"Text", &Make<CTextUI>},
    {"Button", &Make<CButtonUI>},
    {"Option", &Make<COptionUI>},
    {"CheckBox", &Make<CCheckBoxUI>},
    {"Edit", &Make<CEditUI>},
    {"Progress", &Make<CProgressUI>},
}};

bool IsResourceElement(std::string_view name)
{
    return EqualsIgnoringCase(name, "Image") || EqualsIgnoringCase(name, "Font") ||
           EqualsIgnoringCase(name, "Default") || EqualsIgnoringCase(name, "MultiLanguage");
}

bool IsResourceId(std::string_view skin)
{
    return !skin.empty() && skin.find_first_not_of("0123456789") == std::string_view::npos;
}

// Attributes of a resource element by name, names compared ignoring case.
std::optional<std::string_view> FindAttribute(const CXmlNode& node, std::string_view name)
{
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        if (EqualsIgnoringCase(node.GetAttributeName(i), name)) return node.GetAttributeValue(i);
    }
    return std::nullopt;
}

bool FlagAttribute(const CXmlNode& node, std::string_view name)
{
    const auto value = FindAttribute(node, name);
    return value && IsTrue(*value);
}

void RegisterFont(const CXmlNode& node, CSkinResources& resources)
{
    const auto id = FindAttribute(node, "id");
    const auto face = FindAttribute(node, "name");
    const auto size = FindAttribute(node, "size");
    const int fontId = id ? ParseInt(*id) : -1;
    if (fontId < 0 || !face || face->empty()) return;
    const int height = size ? ParseInt(*size) : 12;
    const bool bold = FlagAttribute(node, "bold");
    const bool underline = FlagAttribute(node, "underline");
    const bool italic = FlagAttribute(node, "italic");
    const bool shared = FlagAttribute(node, "shared");
    resources.AddFont(fontId, *face, height, bold, underline, italic, shared);
    if (FlagAttribute(node, "default")) resources.SetDefaultFont(*face, height, bold, underline, italic, shared);
}

void RegisterImage(const CXmlNode& node, CSkinResources& resources)
{
    const auto name = FindAttribute(node, "name");
    if (!name || name->empty()) return;
    const auto type = FindAttribute(node, "restype");
    const auto mask = FindAttribute(node, "mask");
    resources.AddImage(std::string(*name), std::string(type.value_or("")), mask ? ParseColor(*mask) : 0, false,
                       FlagAttribute(node, "shared"));
}

void RegisterDefault(const CXmlNode& node, CSkinResources& resources)
{
    const auto name = FindAttribute(node, "name");
    const auto value = FindAttribute(node, "value");
    if (!name || name->empty() || !value) return;
    resources.AddDefaultAttributeList(std::string(*name), *value, FlagAttribute(node, "shared"));
}

void RegisterString(const CXmlNode& node)
{
    const auto id = FindAttribute(node, "id");
    const auto value = FindAttribute(node, "value");
    const int stringId = id ? ParseInt(*id) : -1;
    if (stringId < 0 || !value) return;
    CMultiLanguage::AddString(stringId, *value);
}

// Keeps the first control built at one level. Without a parent only that one
// survives: nothing else could own the others.
void Adopt(CControlUI* control, CControlUI*& first, const CControlUI* parent)
{
    if (first == nullptr) {
        first = control;
    } else if (parent == nullptr) {
        delete control;
    }
}

}  // namespace

CControlUI* CDialogBuilder::Create(std::string_view skin, std::string_view type, IDialogBuilderCallback* callback,
                                   CManagerUI* manager, CControlUI* parent)
{
    if (!Load(skin, type)) return nullptr;
    return Create(callback, manager, parent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* callback, CManagerUI* manager, CControlUI* parent)
{
    callback_ = callback;
    const CXmlNode root = markup_.GetRoot();
    if (!root.IsValid()) return nullptr;
    if (manager != nullptr) {
        RegisterResources(root, *manager);
        if (EqualsIgnoringCase(root.GetName(), "Window") && manager->GetPaintWindow() != 0) {
            ApplyWindowAttributes(root, *manager);
        }
    }
    return BuildChildren(root.GetChild(), parent, manager);
}

bool CDialogBuilder::Load(std::string_view skin, std::string_view type)
{
    resourceType_.clear();
    if (skin.starts_with("<")) return markup_.Load(skin);
    if (IsResourceId(skin)) {
        resourceType_ = type;
        const std::string_view bytes = Platform::ResourceTable::Find(type, std::string(skin));
        return markup_.LoadFromMem(bytes);
    }
    return markup_.LoadFromFile(std::string(skin));
}

void CDialogBuilder::RegisterResources(const CXmlNode& root, CManagerUI& manager)
{
    CSkinResources& resources = manager.GetResources();
    for (CXmlNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        const std::string_view name = node.GetName();
        if (EqualsIgnoringCase(name, "Font")) {
            RegisterFont(node, resources);
        } else if (EqualsIgnoringCase(name, "Image")) {
            RegisterImage(node, resources);
        } else if (EqualsIgnoringCase(name, "Default")) {
            RegisterDefault(node, resources);
        } else if (EqualsIgnoringCase(name, "MultiLanguage")) {
            RegisterString(node);
        }
    }
}

void CDialogBuilder::ApplyWindowAttributes(const CXmlNode& root, CManagerUI& manager)
{
    for (int i = 0; i < root.GetAttributeCount(); ++i) {
        manager.SetWindowAttribute(root.GetAttributeName(i), root.GetAttributeValue(i));
    }
}

CControlUI* CDialogBuilder::BuildChildren(const CXmlNode& firstNode, CControlUI* parent, CManagerUI* manager)
{
    CControlUI* first = nullptr;
    for (CXmlNode node = firstNode; node.IsValid(); node = node.GetSibling()) {
        const std::string_view name = node.GetName();
        if (IsResourceElement(name)) continue;
        if (EqualsIgnoringCase(name, "Include")) {
            Adopt(BuildInclude(node, parent, manager), first, parent);
            continue;
        }
        CControlUI* control = CreateControl(name);
        if (control == nullptr) continue;
        if (node.HasChildren()) BuildChildren(node.GetChild(), control, manager);
        if (parent != nullptr) {
            auto* container = static_cast<IContainerUI*>(parent->GetInterface("IContainer"));
            if (container == nullptr) {
                delete control;
                return first;
            }
            if (!container->Add(control)) {
                delete control;
                continue;
            }
        }
        if (manager != nullptr) ApplyAttributes(node, *control, *manager);
        Adopt(control, first, parent);
    }
    return first;
}

CControlUI* CDialogBuilder::BuildInclude(const CXmlNode& node, CControlUI* parent, CManagerUI* manager)
{
    if (node.GetAttributeCount() == 0 || includeDepth >= kMaxIncludeDepth) return nullptr;
    const auto source = node.GetAttributeValue("source");
    const auto count = node.GetAttributeValue("count");
    const int times = count ? ParseInt(*count) : 1;
    if (!source) return nullptr;
    if (includeDepth == 0) includesLeft = kMaxIncludedDocuments;
    IncludeLevel level;
    CControlUI* first = nullptr;
    for (int i = 0; i < times && includesLeft > 0; ++i) {
        --includesLeft;
        CDialogBuilder included;
        Adopt(included.Create(*source, resourceType_, callback_, manager, parent), first, parent);
    }
    return first;
}

CControlUI* CDialogBuilder::CreateControl(std::string_view elementName) const
{
    for (const ElementClass& entry : kElementTable) {
        if (EqualsIgnoringCase(entry.element, elementName)) return entry.create();
    }
    return callback_ != nullptr ? callback_->CreateControl(elementName) : nullptr;
}

void CDialogBuilder::ApplyAttributes(const CXmlNode& node, CControlUI& control, CManagerUI& manager)
{
    control.SetManager(&manager, nullptr, false);
    const std::string_view defaults = manager.GetResources().GetDefaultAttributeList(node.GetName());
    if (!defaults.empty()) control.ApplyAttributeList(defaults);
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        control.SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    }
    control.SetManager(nullptr, nullptr, false);
}

}  // namespace SkinUI
