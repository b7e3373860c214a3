// A source folder as a zip file, both ways. Entries are written stored:
// the media are compressed already and the TOML text is small. Read
// entries may be deflated (a folder zipped by Windows Explorer): the page
// inflates them with the browser's own DecompressionStream, and the CRC of
// every entry is checked here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvo::studio {

using Bytes = std::vector<std::uint8_t>;

struct FolderFile {
    std::string name;   // "capitales/capitales.toml"
    Bytes bytes;
};

std::uint32_t crc32(const Bytes& bytes);

// Every file under the folder `stem`, in order, with a fixed date.
Bytes zipFolder(const std::string& stem, const std::vector<FolderFile>& files);

struct ZipEntry {
    std::string name;
    int method = 0;              // 0 stored, 8 deflated
    std::uint32_t crc = 0;
    std::uint32_t size = 0;      // once inflated
    Bytes data;                  // as stored in the archive
};

// The entries of a zip (folders left out); false with a French message for
// a file that is no zip or is damaged.
bool readZip(const Bytes& archive, std::vector<ZipEntry>& entries, std::string& error);

}  // namespace kelvo::studio
