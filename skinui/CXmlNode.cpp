#include "skinui/CXmlNode.h"

#include "skinui/CXmlMarkup.h"

#include <algorithm>
#include <cstring>

namespace SkinUI {

std::string_view CXmlNode::GetName() const
{
    if (!IsValid()) return {};
    const auto& element = owner_->elements_[element_];
    return owner_->Slice(element.start, element.nameLength);
}

CXmlNode CXmlNode::GetParent() const
{
    return IsValid() ? CXmlNode(owner_, owner_->elements_[element_].parent) : CXmlNode();
}

CXmlNode CXmlNode::GetChild() const
{
    return IsValid() ? CXmlNode(owner_, owner_->elements_[element_].child) : CXmlNode();
}

CXmlNode CXmlNode::GetSibling() const
{
    return IsValid() ? CXmlNode(owner_, owner_->elements_[element_].next) : CXmlNode();
}

int CXmlNode::GetAttributeCount() const
{
    if (!IsValid()) return 0;
    return static_cast<int>(std::min<uint32_t>(owner_->elements_[element_].attributeCount, kMaxAttributes));
}

std::string_view CXmlNode::GetAttributeName(int index) const
{
    if (index < 0 || index >= GetAttributeCount()) return {};
    const auto& attribute = owner_->attributes_[owner_->elements_[element_].firstAttribute + index];
    return owner_->Slice(attribute.name, attribute.nameLength);
}

std::string_view CXmlNode::GetAttributeValue(int index) const
{
    if (index < 0 || index >= GetAttributeCount()) return {};
    const auto& attribute = owner_->attributes_[owner_->elements_[element_].firstAttribute + index];
    return owner_->Slice(attribute.value, attribute.valueLength);
}

std::optional<std::string_view> CXmlNode::GetAttributeValue(std::string_view name) const
{
    const int count = GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        if (GetAttributeName(i) == name) return GetAttributeValue(i);
    }
    return std::nullopt;
}

bool CXmlNode::GetAttributeValue(std::string_view name, char* buffer, std::size_t size) const
{
    const auto value = GetAttributeValue(name);
    if (!value || buffer == nullptr || size == 0) return false;
    std::size_t cut = std::min(value->size(), size - 1);
    // Never end inside a character: back off continuation bytes.
    while (cut > 0 && cut < value->size() && (static_cast<unsigned char>((*value)[cut]) & 0xC0) == 0x80) --cut;
    std::memcpy(buffer, value->data(), cut);
    buffer[cut] = '\0';
    return true;
}

}  // namespace SkinUI
