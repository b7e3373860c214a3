// The zip reader on any bytes: it refuses them with a reason, or gives
// entries that the writer writes and the reader reads back alike.
#include <cstdint>
#include <cstdlib>

#include "core/zip_archive.h"

using namespace kelvo::pack;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<StoredZipEntry> entries;
    std::string error;
    if (!readZip(Bytes(data, data + size), entries, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    std::vector<ZipEntry> written;
    for (const StoredZipEntry& entry : entries) written.push_back({entry.name, entry.data});
    const std::optional<Bytes> archive = writeZip(written);
    std::vector<StoredZipEntry> again;
    if (!archive || !readZip(*archive, again, error) || again.size() != entries.size()) std::abort();
    for (std::size_t i = 0; i < again.size(); ++i) {
        if (again[i].name != entries[i].name || again[i].data != entries[i].data || !zipEntryIntact(again[i], again[i].data)) {
            std::abort();
        }
    }
    return 0;
}
