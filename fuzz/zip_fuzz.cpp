// The studio's zip reader on any bytes: it refuses them or gives entries
// that the writer writes and the reader reads back alike.
#include <cstdint>
#include <cstdlib>

#include "web/studio/zip_folder.h"

using namespace kelvo::studio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<ZipEntry> entries;
    std::string error;
    if (!readZip(Bytes(data, data + size), entries, error)) {
        if (error.empty()) std::abort();   // a refusal always says why
        return 0;
    }
    std::vector<FolderFile> files;
    for (const ZipEntry& entry : entries) files.push_back({entry.name, entry.data});
    std::vector<ZipEntry> again;
    if (!readZip(zipFolder("z", files), again, error) || again.size() != entries.size()) std::abort();
    for (std::size_t i = 0; i < again.size(); ++i) {
        if (again[i].name != "z/" + entries[i].name || again[i].data != entries[i].data) std::abort();
    }
    return 0;
}
