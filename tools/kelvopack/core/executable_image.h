// The resources of a Windows executable (PE32 or PE32+), read and rewritten
// over its bytes after Microsoft's PE/COFF format description, so that a
// quiz is made the same way, to the same bytes, on any machine.
//
// The writer lays the resource section out anew from the resource set alone
// (sorted entries, time stamps 0, zeroed padding) and moves what follows it
// (the base relocations, debug sections, the COFF symbol table), so packing
// an already packed player gives what packing the bare player gives.
#pragma once

#include <string>

#include "core/resource_set.h"

namespace kelvo::pack {

// Every resource (type, name, language, bytes) of a PE32 or PE32+ executable. False with a French message otherwise.
bool readExecutableResources(const Bytes& executable, ResourceSet& resources, std::string& error);
// `executable` with its resources replaced by `resources` (the whole set), laid out anew, into `written`.
bool writeExecutableResources(const Bytes& executable, const ResourceSet& resources, Bytes& written, std::string& error);

}  // namespace kelvo::pack
