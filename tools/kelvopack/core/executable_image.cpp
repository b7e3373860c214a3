#include "core/executable_image.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <type_traits>

namespace kelvo::pack {

namespace {

// Wide enough that no sum of two 32-bit fields of the file overflows.
using Offset = std::uint64_t;

constexpr Offset NewHeaderField = 0x3C;
constexpr std::uint32_t PeSignature = 0x00004550;   // "PE\0\0"
constexpr std::uint16_t Pe32Magic = 0x10B;
constexpr std::uint16_t Pe32PlusMagic = 0x20B;
constexpr Offset SectionHeaderSize = 40;
constexpr Offset SymbolSize = 18;
constexpr std::size_t ResourceDirectory = 2;
constexpr std::size_t CertificateDirectory = 4;
constexpr std::size_t BaseRelocationDirectory = 5;
constexpr std::uint32_t HighBit = 0x80000000;   // a named entry, or an entry leading to a subdirectory
constexpr Offset ResourceDataAlignment = 8;

// Field offsets in the COFF header, the optional header and a section header.
namespace Field {
constexpr Offset SectionCount = 2, SymbolTable = 8, SymbolCount = 12, OptionalHeaderSize = 16;
constexpr Offset InitializedDataSize = 8, EntryPoint = 16, SectionAlignment = 32, FileAlignment = 36, ImageSize = 56,
                 HeadersSize = 60, Checksum = 64, Pe32DirectoryCount = 92, Pe32PlusDirectoryCount = 108;
constexpr Offset VirtualSize = 8, VirtualAddress = 12, RawSize = 16, RawOffset = 20;
}  // namespace Field

const char* const NotAnExecutable = "ce n'est pas un exécutable Windows (il n'a pas d'en-tête MZ et PE).";
const char* const TruncatedHeaders = "l'exécutable est tronqué, ses en-têtes s'arrêtent avant la fin.";
const char* const OutsideTree = "le répertoire des ressources pointe hors de sa section.";

bool fail(std::string& error, std::string message) {
    error = std::move(message);
    return false;
}

Offset alignUp(Offset value, Offset alignment) { return (value + alignment - 1) / alignment * alignment; }

// Little-endian reads over the file. A read past the end gives 0, so each
// structure is checked with `has` before its fields are trusted.
class ByteView {
public:
    explicit ByteView(const Bytes& bytes) : bytes(bytes) {}
    Offset size() const { return bytes.size(); }
    bool has(Offset offset, Offset count) const { return offset <= bytes.size() && count <= bytes.size() - offset; }
    std::uint32_t read(Offset offset, int width) const {
        std::uint32_t value = 0;
        if (!has(offset, static_cast<Offset>(width))) return 0;
        for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[offset + i];
        return value;
    }
    std::uint16_t u16(Offset offset) const { return static_cast<std::uint16_t>(read(offset, 2)); }
    std::uint32_t u32(Offset offset) const { return read(offset, 4); }
    const std::uint8_t* at(Offset offset) const { return bytes.data() + offset; }

private:
    const Bytes& bytes;
};

void put32(Bytes& bytes, Offset offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void put16(Bytes& bytes, Offset offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

struct Section {
    std::string name;   // long names ("/4") looked up in the string table, as GNU ld writes debug sections
    Offset header = 0;
    std::uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawOffset = 0;

    Offset extent() const { return virtualSize != 0 ? virtualSize : rawSize; }   // bytes it spans once loaded
    Offset rawEnd() const { return Offset(rawOffset) + rawSize; }
    Offset mappedSize() const { return std::min<Offset>(rawSize, extent()); }   // bytes loaded from the file
};

struct DataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

struct Image {
    Offset coffHeader = 0, optionalHeader = 0, directoryTable = 0;
    std::uint32_t sectionAlignment = 0, fileAlignment = 0;
    std::vector<DataDirectory> directories;
    std::vector<Section> sections;
    std::uint32_t symbolTable = 0;   // the COFF symbols, then their string table, past the last section
    Offset symbolsEnd = 0;
    Offset end = 0;                  // of the headers, the sections' data and the symbols: what the file must hold

    DataDirectory directory(std::size_t index) const { return index < directories.size() ? directories[index] : DataDirectory{}; }
};

// Shown in messages: a damaged file's section name may hold any byte.
std::string printable(const std::string& name) {
    std::string shown;
    for (char c : name) shown.push_back(c >= 0x20 && c < 0x7F ? c : '?');
    return shown;
}

std::string sectionName(const ByteView& file, const Image& image, Offset header) {
    std::string name;
    for (Offset i = 0; i < 8 && file.at(header)[i] != 0; ++i) name.push_back(static_cast<char>(file.at(header)[i]));
    const Offset strings = image.symbolTable + SymbolSize * file.u32(image.coffHeader + Field::SymbolCount);
    if (name.size() < 2 || name[0] != '/' || image.symbolTable == 0 || !std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return printable(name);
    std::string longName;
    for (Offset at = strings + std::stoul(name.substr(1)); at < image.symbolsEnd && *file.at(at) != 0; ++at)
        longName.push_back(static_cast<char>(*file.at(at)));
    return printable(longName);
}

bool readSymbolTable(const ByteView& file, Image& image, std::string& error) {
    image.symbolTable = file.u32(image.coffHeader + Field::SymbolTable);
    if (image.symbolTable == 0) return true;
    const Offset strings = image.symbolTable + SymbolSize * file.u32(image.coffHeader + Field::SymbolCount);
    const Offset stringsSize = file.has(strings, 4) ? file.u32(strings) : 0;
    if (!file.has(image.symbolTable, strings - image.symbolTable) || (file.has(strings, 4) && !file.has(strings, std::max<Offset>(stringsSize, 4))))
        return fail(error, "la table des symboles dépasse la fin du fichier, qui est tronqué.");
    image.symbolsEnd = file.has(strings, 4) ? strings + std::max<Offset>(stringsSize, 4) : strings;
    return true;
}

bool readSections(const ByteView& file, Image& image, Offset table, std::string& error) {
    const Offset count = file.u16(image.coffHeader + Field::SectionCount);
    if (!file.has(table, count * SectionHeaderSize)) return fail(error, TruncatedHeaders);
    image.end = table + count * SectionHeaderSize;
    for (Offset i = 0; i < count; ++i) {
        Section section;
        section.header = table + i * SectionHeaderSize;
        section.name = sectionName(file, image, section.header);
        section.virtualSize = file.u32(section.header + Field::VirtualSize);
        section.virtualAddress = file.u32(section.header + Field::VirtualAddress);
        section.rawSize = file.u32(section.header + Field::RawSize);
        section.rawOffset = section.rawSize == 0 ? 0 : file.u32(section.header + Field::RawOffset);
        if (!file.has(section.rawOffset, section.rawSize))
            return fail(error, "la section " + section.name + " dépasse la fin du fichier, qui est tronqué.");
        if (!image.sections.empty() &&
            section.virtualAddress < image.sections.back().virtualAddress + image.sections.back().extent())
            return fail(error, "les sections " + image.sections.back().name + " et " + section.name + " se chevauchent.");
        image.sections.push_back(section);
    }
    // In the file, each section's data after the headers and after the data of the one before it.
    std::vector<const Section*> stored;
    for (const Section& section : image.sections)
        if (section.rawSize != 0) stored.push_back(&section);
    std::sort(stored.begin(), stored.end(), [](const Section* a, const Section* b) { return a->rawOffset < b->rawOffset; });
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i]->rawOffset < (i == 0 ? image.end : stored[i - 1]->rawEnd()))
            return fail(error, "la section " + stored[i]->name + " chevauche " +
                                   (i == 0 ? std::string("les en-têtes") : "la section " + stored[i - 1]->name) + ".");
    }
    if (!stored.empty()) image.end = stored.back()->rawEnd();
    if (image.symbolTable != 0) {
        if (image.symbolTable < image.end) return fail(error, "la table des symboles chevauche les sections.");
        image.end = image.symbolsEnd;
    }
    return true;
}

bool parseImage(const ByteView& file, Image& image, std::string& error) {
    if (!file.has(0, NewHeaderField + 4) || file.u16(0) != 0x5A4D) return fail(error, NotAnExecutable);
    const Offset signature = file.u32(NewHeaderField);
    if (!file.has(signature, 4 + 20 + 2) || file.u32(signature) != PeSignature) return fail(error, NotAnExecutable);
    image.coffHeader = signature + 4;
    image.optionalHeader = image.coffHeader + 20;
    const std::uint16_t magic = file.u16(image.optionalHeader);
    if (magic != Pe32Magic && magic != Pe32PlusMagic)
        return fail(error, "ce n'est ni un exécutable Windows 32 bits (PE32) ni 64 bits (PE32+).");
    const Offset optionalSize = file.u16(image.coffHeader + Field::OptionalHeaderSize);
    const Offset countField = image.optionalHeader + (magic == Pe32Magic ? Field::Pe32DirectoryCount : Field::Pe32PlusDirectoryCount);
    const Offset directoryCount = file.u32(countField);
    image.directoryTable = countField + 4;
    if (!file.has(image.optionalHeader, optionalSize) || directoryCount > 16 ||
        image.directoryTable + 8 * directoryCount > image.optionalHeader + optionalSize)
        return fail(error, TruncatedHeaders);
    for (Offset i = 0; i < directoryCount; ++i)
        image.directories.push_back({file.u32(image.directoryTable + 8 * i), file.u32(image.directoryTable + 8 * i + 4)});
    image.sectionAlignment = file.u32(image.optionalHeader + Field::SectionAlignment);
    image.fileAlignment = file.u32(image.optionalHeader + Field::FileAlignment);
    const auto powerOfTwo = [](std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; };
    if (!powerOfTwo(image.sectionAlignment) || !powerOfTwo(image.fileAlignment))
        return fail(error, "les alignements des sections de l'exécutable ne sont pas des puissances de deux.");
    return readSymbolTable(file, image, error) && readSections(file, image, image.optionalHeader + optionalSize, error);
}

struct Span {
    Offset start = 0;
    Offset size = 0;
};

// The file bytes loaded at `rva`, up to the end of its section.
std::optional<Span> mappedFrom(const Image& image, std::uint32_t rva) {
    for (const Section& section : image.sections) {
        if (rva >= section.virtualAddress && rva - section.virtualAddress < section.mappedSize()) {
            const Offset into = rva - section.virtualAddress;
            return Span{section.rawOffset + into, section.mappedSize() - into};
        }
    }
    return std::nullopt;
}

// Reading the three levels of the tree: types, names, languages. Offsets
// inside it count from the start of the resource directory.
struct TreeWalk {
    const ByteView& file;
    const Image& image;
    Span tree;
    ResourceSet& resources;
    std::string& error;
    std::set<std::uint32_t> visited;   // directories read: a second visit is a loop
    Offset dataBytes = 0;              // all resources together, at most the file: no two overlap

    bool inTree(Offset offset, Offset count) const { return offset <= tree.size && count <= tree.size - offset; }
};

bool readName(TreeWalk& walk, std::uint32_t field, ResourceName& name) {
    name = ResourceName::number(static_cast<std::uint16_t>(field));
    if ((field & HighBit) == 0) return field <= 0xFFFF || fail(walk.error, "un numéro de ressource dépasse 65535.");
    const Offset offset = field & ~HighBit;
    const Offset length = walk.inTree(offset, 2) ? walk.file.u16(walk.tree.start + offset) : 0;
    if (!walk.inTree(offset, 2 + 2 * length)) return fail(walk.error, OutsideTree);
    if (length == 0) return fail(walk.error, "une ressource a un nom vide.");
    name.id = 0;
    for (Offset i = 0; i < length; ++i) name.text.push_back(static_cast<char16_t>(walk.file.u16(walk.tree.start + offset + 2 + 2 * i)));
    return true;
}

bool readData(TreeWalk& walk, std::uint32_t entry, Resource& resource) {
    if (!walk.inTree(entry, 16)) return fail(walk.error, OutsideTree);
    const std::uint32_t rva = walk.file.u32(walk.tree.start + entry);
    const std::uint32_t size = walk.file.u32(walk.tree.start + entry + 4);
    const std::optional<Span> data = mappedFrom(walk.image, rva);
    if (!data || data->size < size) return fail(walk.error, "les données d'une ressource sont hors des sections du fichier.");
    walk.dataBytes += size;
    if (walk.dataBytes > walk.file.size()) return fail(walk.error, "les données des ressources se chevauchent.");
    resource.data.assign(walk.file.at(data->start), walk.file.at(data->start) + size);
    walk.resources.push_back(resource);
    return true;
}

bool readDirectory(TreeWalk& walk, std::uint32_t offset, int level, Resource& resource) {
    if (!walk.visited.insert(offset).second) return fail(walk.error, "le répertoire des ressources boucle sur lui-même.");
    const Offset table = walk.tree.start + offset;
    const Offset entries = walk.inTree(offset, 16) ? Offset(walk.file.u16(table + 12)) + walk.file.u16(table + 14) : 0;
    if (!walk.inTree(offset, 16 + 8 * entries)) return fail(walk.error, OutsideTree);
    for (Offset i = 0; i < entries; ++i) {
        const std::uint32_t name = walk.file.u32(table + 16 + 8 * i);
        const std::uint32_t target = walk.file.u32(table + 16 + 8 * i + 4);
        const bool subdirectory = (target & HighBit) != 0;
        if (level == 2) {
            if (subdirectory) return fail(walk.error, "le répertoire des ressources a plus de trois niveaux.");
            if (name > 0xFFFF) return fail(walk.error, "une ressource a une langue qui n'est pas un numéro de langue.");
            resource.language = static_cast<std::uint16_t>(name);
            if (!readData(walk, target, resource)) return false;
        } else {
            if (!subdirectory) return fail(walk.error, "le répertoire des ressources n'a pas ses trois niveaux (type, nom, langue).");
            if (!readName(walk, name, level == 0 ? resource.type : resource.name) ||
                !readDirectory(walk, target & ~HighBit, level + 1, resource))
                return false;
        }
    }
    return true;
}

// Named entries first, in the order of their UTF-16 code units (the loader
// searches them by halves, upper-casing the wanted name), then numbered ones.
struct EntryOrder {
    bool operator()(const ResourceName& a, const ResourceName& b) const {
        if (a.isNumber() != b.isNumber()) return !a.isNumber();
        return a.isNumber() ? a.id < b.id : a.text < b.text;
    }
};
using Languages = std::map<std::uint16_t, const Bytes*>;
using Names = std::map<ResourceName, Languages, EntryOrder>;
using ResourceTree = std::map<ResourceName, Names, EntryOrder>;

Offset directorySize(Offset entries) { return 16 + 8 * entries; }

// A directory table: no characteristics, time stamp or version, then how many named and numbered entries follow.
template <typename Entries>
void putDirectoryHeader(Bytes& section, Offset at, const Entries& entries) {
    Offset named = 0;
    if constexpr (!std::is_same_v<Entries, Languages>) {
        for (const auto& entry : entries) named += entry.first.isNumber() ? 0 : 1;
    }
    put16(section, at + 12, static_cast<std::uint16_t>(named));
    put16(section, at + 14, static_cast<std::uint16_t>(entries.size() - named));
}

// Directories (root, then one per type, then one per type and name), data
// entries, name strings, then each resource's bytes on an 8-byte boundary.
class ResourceSectionLayout {
public:
    explicit ResourceSectionLayout(const ResourceTree& tree) : tree(tree) {
        Offset nameDirectories = directorySize(tree.size());
        languageDirectories = nameDirectories;
        Offset resourceCount = 0, dataSize = 0;
        for (const auto& [type, names] : tree) {
            languageDirectories += directorySize(names.size());
            addString(type);
            for (const auto& [name, languages] : names) {
                dataEntries += directorySize(languages.size());
                addString(name);
                resourceCount += languages.size();
                for (const auto& language : languages) dataSize += alignUp(language.second->size(), ResourceDataAlignment);
            }
        }
        dataEntries += languageDirectories;
        Offset strings = dataEntries + 16 * resourceCount;
        for (auto& [text, offset] : stringOffsets) {
            offset = strings;
            strings += 2 + 2 * text.size();
        }
        data = alignUp(strings, ResourceDataAlignment);
        size = data + dataSize;
    }

    Bytes write(std::uint32_t sectionRva) const {
        Bytes section(size, 0);
        Offset nameDirectory = directorySize(tree.size()), languageDirectory = languageDirectories, dataEntry = dataEntries;
        Offset next = data;
        putDirectoryHeader(section, 0, tree);
        Offset typeEntry = 16;
        for (const auto& [type, names] : tree) {
            putEntry(section, typeEntry, entryName(type), nameDirectory | HighBit);
            putDirectoryHeader(section, nameDirectory, names);
            Offset nameEntry = nameDirectory + 16;
            typeEntry += 8;
            nameDirectory += directorySize(names.size());
            for (const auto& [name, languages] : names) {
                putEntry(section, nameEntry, entryName(name), languageDirectory | HighBit);
                putDirectoryHeader(section, languageDirectory, languages);
                Offset languageEntry = languageDirectory + 16;
                nameEntry += 8;
                languageDirectory += directorySize(languages.size());
                for (const auto& [language, bytes] : languages) {
                    putEntry(section, languageEntry, language, static_cast<std::uint32_t>(dataEntry));
                    put32(section, dataEntry, static_cast<std::uint32_t>(sectionRva + next));
                    put32(section, dataEntry + 4, static_cast<std::uint32_t>(bytes->size()));
                    std::copy(bytes->begin(), bytes->end(), section.begin() + static_cast<std::ptrdiff_t>(next));
                    languageEntry += 8;
                    dataEntry += 16;
                    next += alignUp(bytes->size(), ResourceDataAlignment);
                }
            }
        }
        for (const auto& [text, offset] : stringOffsets) {
            put16(section, offset, static_cast<std::uint16_t>(text.size()));
            for (std::size_t i = 0; i < text.size(); ++i) put16(section, offset + 2 + 2 * i, text[i]);
        }
        return section;
    }

    Offset size = 0;

private:
    void addString(const ResourceName& name) {
        if (!name.isNumber()) stringOffsets.emplace(name.text, 0);
    }
    std::uint32_t entryName(const ResourceName& name) const {
        return name.isNumber() ? name.id : static_cast<std::uint32_t>(stringOffsets.at(name.text)) | HighBit;
    }
    static void putEntry(Bytes& section, Offset at, std::uint32_t name, std::uint32_t target) {
        put32(section, at, name);
        put32(section, at + 4, target);
    }

    const ResourceTree& tree;
    std::map<std::u16string, Offset> stringOffsets;
    Offset languageDirectories = 0, dataEntries = 0, data = 0;
};

bool buildTree(const ResourceSet& resources, ResourceTree& tree, std::string& error) {
    for (const Resource& resource : resources) {
        if (!tree[resource.type][resource.name].emplace(resource.language, &resource.data).second)
            return fail(error, "deux ressources ont le même type, le même nom et la même langue.");
    }
    Offset largest = tree.size();
    for (const auto& [type, names] : tree) {
        largest = std::max<Offset>(largest, names.size());
        for (const auto& [name, languages] : names) largest = std::max<Offset>(largest, languages.size());
    }
    return largest <= 0xFFFF || fail(error, "trop de ressources d'un même type pour un exécutable.");
}

bool contains(const Section& section, const DataDirectory& directory) {
    return directory.rva >= section.virtualAddress && directory.rva - section.virtualAddress < section.extent();
}

// Sections after the resources move when their size changes: only those the
// program reaches through their data directory (the base relocations) or
// never (debug sections) may.
bool movable(const Image& image, const Section& section) {
    return contains(section, image.directory(BaseRelocationDirectory)) || section.name.rfind(".debug", 0) == 0;
}

// The index of the resource section, once everything the rewrite moves or
// drops has been checked.
bool findRewritableResources(const ByteView& file, const Image& image, std::size_t& index, std::string& error) {
    const DataDirectory certificate = image.directory(CertificateDirectory);
    if (certificate.rva != 0 || certificate.size != 0)
        return fail(error, "l'exécutable est signé, et y écrire un quiz briserait sa signature.");
    if (file.size() > image.end)
        return fail(error, "des données suivent la dernière section (celles d'un programme d'installation ?), elles seraient perdues.");
    const DataDirectory resources = image.directory(ResourceDirectory);
    const auto found = std::find_if(image.sections.begin(), image.sections.end(), [&resources](const Section& section) {
        return resources.rva != 0 && section.virtualAddress == resources.rva && section.rawSize != 0;
    });
    if (found == image.sections.end()) return fail(error, "l'exécutable n'a pas de section de ressources à elle seule.");
    index = static_cast<std::size_t>(found - image.sections.begin());
    const Offset resourcesStart = found->virtualAddress;
    for (auto section = found + 1; section != image.sections.end(); ++section) {
        if (!movable(image, *section))
            return fail(error, "la section " + section->name + " suit les ressources et ne peut pas être déplacée.");
    }
    Offset stored = 0;
    for (const Section& section : image.sections) {
        if (section.rawSize == 0) continue;
        if (section.rawOffset < stored) return fail(error, "les sections ne sont pas rangées dans le fichier dans l'ordre de leurs adresses.");
        stored = section.rawEnd();
    }
    for (std::size_t i = 0; i < image.directories.size(); ++i) {
        const DataDirectory directory = image.directories[i];
        if (i == ResourceDirectory || i == BaseRelocationDirectory || directory.rva == 0) continue;
        if (Offset(directory.rva) + directory.size > resourcesStart)
            return fail(error, "le répertoire de données " + std::to_string(i) + " pointe dans les ressources ou après elles.");
    }
    if (file.u32(image.optionalHeader + Field::EntryPoint) >= resourcesStart)
        return fail(error, "le point d'entrée du programme est dans les ressources ou après elles.");
    return true;
}

// The optional header's checksum: 16-bit words summed with end-around
// carry, the checksum field itself counted as 0, plus the file length.
std::uint32_t imageChecksum(const Bytes& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        sum += bytes[i] | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return sum + static_cast<std::uint32_t>(bytes.size());
}

}  // namespace

bool readExecutableResources(const Bytes& executable, ResourceSet& resources, std::string& error) {
    const ByteView file(executable);
    Image image;
    resources.clear();
    if (!parseImage(file, image, error)) return false;
    const DataDirectory directory = image.directory(ResourceDirectory);
    if (directory.rva == 0) return true;   // an executable without resources
    const std::optional<Span> tree = mappedFrom(image, directory.rva);
    if (!tree) return fail(error, "le répertoire des ressources est hors des sections du fichier.");
    TreeWalk walk{file, image, *tree, resources, error, {}, 0};
    Resource resource;
    return readDirectory(walk, 0, 0, resource);
}

bool writeExecutableResources(const Bytes& executable, const ResourceSet& resources, Bytes& written, std::string& error) {
    const ByteView file(executable);
    Image image;
    std::size_t first = 0;
    ResourceTree tree;
    if (!parseImage(file, image, error) || !findRewritableResources(file, image, first, error) || !buildTree(resources, tree, error))
        return false;
    const ResourceSectionLayout layout(tree);
    const Bytes section = layout.write(image.sections[first].virtualAddress);

    // Everything before the resource section stays in place; the sections
    // after it follow it in memory and in the file, the symbols after them.
    std::vector<Section> sections = image.sections;
    written.assign(executable.begin(), executable.begin() + static_cast<std::ptrdiff_t>(sections[first].rawOffset));
    written.insert(written.end(), section.begin(), section.end());
    written.resize(alignUp(written.size(), image.fileAlignment), 0);
    sections[first].virtualSize = static_cast<std::uint32_t>(section.size());
    sections[first].rawSize = static_cast<std::uint32_t>(written.size() - sections[first].rawOffset);
    for (std::size_t i = first + 1; i < sections.size(); ++i) {
        Section& moved = sections[i];
        moved.virtualAddress = static_cast<std::uint32_t>(alignUp(Offset(sections[i - 1].virtualAddress) + sections[i - 1].extent(),
                                                                  image.sectionAlignment));
        if (moved.rawSize == 0) continue;
        written.resize(alignUp(written.size(), image.fileAlignment), 0);
        const Offset from = moved.rawOffset;
        moved.rawOffset = static_cast<std::uint32_t>(written.size());
        written.insert(written.end(), file.at(from), file.at(from) + moved.rawSize);
    }
    const Offset symbolTable = image.symbolTable == 0 ? 0 : written.size();
    if (image.symbolTable != 0) written.insert(written.end(), file.at(image.symbolTable), file.at(image.symbolsEnd));
    const Offset imageSize = alignUp(Offset(sections.back().virtualAddress) + sections.back().extent(), image.sectionAlignment);
    if (written.size() > 0xFFFFFFFF || imageSize > 0xFFFFFFFF || layout.size > 0xFFFFFFFF)
        return fail(error, "l'exécutable écrit dépasserait 4 Go.");

    for (std::size_t i = first; i < sections.size(); ++i) {
        put32(written, sections[i].header + Field::VirtualSize, sections[i].virtualSize);
        put32(written, sections[i].header + Field::VirtualAddress, sections[i].virtualAddress);
        put32(written, sections[i].header + Field::RawSize, sections[i].rawSize);
        if (sections[i].rawSize != 0) put32(written, sections[i].header + Field::RawOffset, sections[i].rawOffset);
    }
    put32(written, image.coffHeader + Field::SymbolTable, static_cast<std::uint32_t>(symbolTable));
    put32(written, image.directoryTable + 8 * ResourceDirectory + 4, static_cast<std::uint32_t>(section.size()));
    const DataDirectory relocations = image.directory(BaseRelocationDirectory);
    for (std::size_t i = first + 1; i < sections.size(); ++i) {
        if (contains(image.sections[i], relocations))
            put32(written, image.directoryTable + 8 * BaseRelocationDirectory,
                  relocations.rva - image.sections[i].virtualAddress + sections[i].virtualAddress);
    }
    put32(written, image.optionalHeader + Field::ImageSize, static_cast<std::uint32_t>(imageSize));
    // Changed by what the resource section's size changed, which keeps the
    // linker's own way of counting (GNU ld counts code sections too).
    put32(written, image.optionalHeader + Field::InitializedDataSize,
          file.u32(image.optionalHeader + Field::InitializedDataSize) - image.sections[first].rawSize + sections[first].rawSize);
    put32(written, image.optionalHeader + Field::Checksum, 0);
    put32(written, image.optionalHeader + Field::Checksum, imageChecksum(written));
    return true;
}

}  // namespace kelvo::pack
