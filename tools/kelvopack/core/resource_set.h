// Resources of an executable as plain data, so that planning what goes into
// a built quiz (and reading one back) runs without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/packed_quiz.h"
#include "resources/resource_ids.h"

namespace kelvo::pack {

// A resource type or name: a number, or a string (kept in UTF-16 as Windows
// stores it; compared without regard to case, as FindResource does).
struct ResourceName {
    std::uint16_t id = 0;
    std::u16string text;

    static ResourceName number(std::uint16_t value) { return {value, {}}; }
    static ResourceName named(const char* ascii);
    bool isNumber() const { return text.empty(); }
    bool operator==(const ResourceName& other) const;
    bool operator!=(const ResourceName& other) const { return !(*this == other); }
};

struct Resource {
    ResourceName type;
    ResourceName name;
    std::uint16_t language = 0;
    Bytes data;
};

using ResourceSet = std::vector<Resource>;

namespace ResourceTypes {
constexpr std::uint16_t Dialog = 5;   // RT_DIALOG
ResourceName patch();                 // "PATCH": the quiz (104) and its codes (105)
ResourceName image();                 // "IMG": pictures and clips
}  // namespace ResourceTypes

// The player's resource identifiers, as the 16-bit numbers resources carry.
namespace QuizResourceIds {
constexpr std::uint16_t Quiz = ResourceIds::QuizData;
constexpr std::uint16_t Codes = ResourceIds::CodesData;
constexpr std::uint16_t PictureBase = ResourceIds::QuestionPictureBase;
constexpr std::uint16_t RevealPictureBase = ResourceIds::RevealPictureBase;
constexpr std::uint16_t PanelDialog = ResourceIds::QuestionPanelDialog;
constexpr std::uint16_t HeaderDialog = ResourceIds::HeaderPanelDialog;
}  // namespace QuizResourceIds

// Language of the resources kelvopack writes: neutral, which FindResource
// finds whatever the user's language.
constexpr std::uint16_t NeutralLanguage = 0;

const Resource* findResource(const ResourceSet& resources, const ResourceName& type, const ResourceName& name);
const Resource* findResource(const ResourceSet& resources, const ResourceName& type, std::uint16_t id);

// The resources of a built quiz: the player's own resources with every quiz
// resource ("PATCH" and "IMG", of any language) left out, then the new quiz
// resources. Built from the player rather than from the previous output, so
// a rebuild never keeps a picture or a language variant of an older quiz.
ResourceSet combineWithPlayer(const ResourceSet& player, const ResourceSet& quiz);

}  // namespace kelvo::pack
