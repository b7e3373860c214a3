#include "win32/executable_files.h"

#include "core/windows1252.h"

namespace kelvo::pack {

namespace {

ResourceName nameFrom(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) return ResourceName::number(static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(name)));
    ResourceName named;
    for (LPCWSTR c = name; *c != L'\0'; ++c) named.text.push_back(static_cast<char16_t>(*c));
    return named;
}

// The form the resource functions take: MAKEINTRESOURCE for numbers.
class NameArgument {
public:
    explicit NameArgument(const ResourceName& name)
        : text(name.text.begin(), name.text.end()), number(name.isNumber()), id(name.id) {}
    LPCWSTR get() const { return number ? MAKEINTRESOURCEW(id) : text.c_str(); }

private:
    std::wstring text;
    bool number;
    std::uint16_t id;
};

struct Enumeration {
    HMODULE module;
    ResourceSet* resources;
    ResourceName type;
    ResourceName name;
};

BOOL CALLBACK collectLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR parameter) {
    auto& enumeration = *reinterpret_cast<Enumeration*>(parameter);
    HRSRC found = FindResourceExW(module, type, name, language);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return TRUE;
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    enumeration.resources->push_back(
        Resource{enumeration.type, enumeration.name, language, Bytes(first, first + SizeofResource(module, found))});
    return TRUE;
}

BOOL CALLBACK collectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR parameter) {
    auto& enumeration = *reinterpret_cast<Enumeration*>(parameter);
    enumeration.name = nameFrom(name);
    EnumResourceLanguagesW(module, type, name, collectLanguage, parameter);
    return TRUE;
}

BOOL CALLBACK collectType(HMODULE module, LPWSTR type, LONG_PTR parameter) {
    auto& enumeration = *reinterpret_cast<Enumeration*>(parameter);
    enumeration.type = nameFrom(type);
    EnumResourceNamesW(module, type, collectName, parameter);
    return TRUE;
}

// A pending BeginUpdateResource, discarded unless committed.
class ResourceUpdate {
public:
    explicit ResourceUpdate(const std::filesystem::path& file) : handle(BeginUpdateResourceW(file.c_str(), TRUE)) {}
    ~ResourceUpdate() {
        if (handle != nullptr) EndUpdateResourceW(handle, TRUE);
    }
    ResourceUpdate(const ResourceUpdate&) = delete;
    ResourceUpdate& operator=(const ResourceUpdate&) = delete;

    explicit operator bool() const { return handle != nullptr; }
    bool add(const Resource& resource) {
        const NameArgument type(resource.type);
        const NameArgument name(resource.name);
        return UpdateResourceW(handle, type.get(), name.get(), resource.language,
                               const_cast<std::uint8_t*>(resource.data.data()), static_cast<DWORD>(resource.data.size())) != FALSE;
    }
    bool commit() {
        const BOOL written = EndUpdateResourceW(handle, FALSE);
        handle = nullptr;
        return written != FALSE;
    }

private:
    HANDLE handle;
};

}  // namespace

DataFileModule::DataFileModule(const std::filesystem::path& file)
    : module(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}

DataFileModule::~DataFileModule() {
    if (module != nullptr) FreeLibrary(module);
}

std::string lastErrorText() {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string utf8 = "erreur Windows " + std::to_string(code);
    if (length > 0 && text != nullptr) {
        std::wstring message(text, length);
        while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) message.pop_back();
        std::string converted;
        for (wchar_t c : message) converted += encodeUtf8(static_cast<char32_t>(c));
        utf8 += " : " + converted;
    }
    if (text != nullptr) LocalFree(text);
    return utf8;
}

bool Win32ExecutableFiles::readResources(const std::filesystem::path& executable, ResourceSet& resources, std::string& error) {
    DataFileModule module(executable);
    if (!module) {
        error = "ce n'est pas un exécutable Windows lisible (" + lastErrorText() + ").";
        return false;
    }
    resources.clear();
    Enumeration enumeration{module.get(), &resources, {}, {}};
    EnumResourceTypesW(module.get(), collectType, reinterpret_cast<LONG_PTR>(&enumeration));
    return true;
}

bool Win32ExecutableFiles::writeResources(const std::filesystem::path& executable, const ResourceSet& resources,
                                          std::string& error) {
    ResourceUpdate update(executable);
    if (!update) {
        error = "mise à jour des ressources impossible (" + lastErrorText() + ").";
        return false;
    }
    for (const Resource& resource : resources) {
        if (resource.data.empty()) continue;   // an empty update would mean "delete"
        if (!update.add(resource)) {
            error = "écriture d'une ressource impossible (" + lastErrorText() + ").";
            return false;
        }
    }
    if (!update.commit()) {
        error = "enregistrement des ressources impossible (" + lastErrorText() + ").";
        return false;
    }
    return true;
}

}  // namespace kelvo::pack
