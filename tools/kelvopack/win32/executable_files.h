// Reading and rewriting the resources of another executable with the Win32
// resource functions: the player is loaded as a data file (never run), and
// the copy is rewritten whole, since Wine cannot delete a resource of
// another language one by one.
#pragma once

#include <windows.h>

#include "core/commands.h"

namespace kelvo::pack {

class Win32ExecutableFiles : public ExecutableFiles {
public:
    bool readResources(const std::filesystem::path& executable, ResourceSet& resources, std::string& error) override;
    bool writeResources(const std::filesystem::path& executable, const ResourceSet& resources, std::string& error) override;
};

// An executable loaded as a data file for its resources; released on scope exit.
class DataFileModule {
public:
    explicit DataFileModule(const std::filesystem::path& file);
    ~DataFileModule();
    DataFileModule(const DataFileModule&) = delete;
    DataFileModule& operator=(const DataFileModule&) = delete;

    HMODULE get() const { return module; }
    explicit operator bool() const { return module != nullptr; }

private:
    HMODULE module = nullptr;
};

// The Windows error text of GetLastError(), in the system's language.
std::string lastErrorText();

}  // namespace kelvo::pack
