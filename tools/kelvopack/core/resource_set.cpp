#include "core/resource_set.h"

namespace kelvo::pack {

namespace {

char16_t upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool isQuizResource(const Resource& resource) {
    return resource.type == ResourceTypes::patch() || resource.type == ResourceTypes::image();
}

}  // namespace

ResourceName ResourceName::named(const char* ascii) {
    ResourceName name;
    for (const char* c = ascii; *c != '\0'; ++c) name.text.push_back(static_cast<char16_t>(*c));
    return name;
}

bool ResourceName::operator==(const ResourceName& other) const {
    if (isNumber() != other.isNumber()) return false;
    if (isNumber()) return id == other.id;
    if (text.size() != other.text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upper(text[i]) != upper(other.text[i])) return false;
    }
    return true;
}

ResourceName ResourceTypes::patch() { return ResourceName::named(ResourceIds::PatchType); }
ResourceName ResourceTypes::image() { return ResourceName::named(ResourceIds::ImageType); }

const Resource* findResource(const ResourceSet& resources, const ResourceName& type, const ResourceName& name) {
    for (const Resource& resource : resources) {
        if (resource.type == type && resource.name == name) return &resource;
    }
    return nullptr;
}

const Resource* findResource(const ResourceSet& resources, const ResourceName& type, std::uint16_t id) {
    return findResource(resources, type, ResourceName::number(id));
}

ResourceSet combineWithPlayer(const ResourceSet& player, const ResourceSet& quiz) {
    ResourceSet combined;
    for (const Resource& resource : player) {
        if (!isQuizResource(resource)) combined.push_back(resource);
    }
    combined.insert(combined.end(), quiz.begin(), quiz.end());
    return combined;
}

}  // namespace kelvo::pack
