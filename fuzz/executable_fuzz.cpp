// kelvopack's executable reader on any bytes: a damaged executable ends in a
// French error; one it reads and can rewrite comes back, read again, with
// the same resources, and rewriting that changes no byte.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <tuple>

#include "core/executable_image.h"

using namespace kelvo;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

auto exactly(const pack::Resource& r) { return std::tie(r.type.id, r.type.text, r.name.id, r.name.text, r.language, r.data); }

pack::ResourceSet sorted(pack::ResourceSet resources) {
    std::sort(resources.begin(), resources.end(),
              [](const pack::Resource& a, const pack::Resource& b) { return exactly(a) < exactly(b); });
    return resources;
}

bool same(const pack::ResourceSet& a, const pack::ResourceSet& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const pack::Resource& x, const pack::Resource& y) { return exactly(x) == exactly(y); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const pack::Bytes executable(data, data + size);
    pack::ResourceSet resources;
    std::string error;
    if (!pack::readExecutableResources(executable, resources, error)) {
        require(!error.empty());
        return 0;
    }
    pack::Bytes written;
    if (!pack::writeExecutableResources(executable, resources, written, error)) {
        require(!error.empty());
        return 0;
    }
    pack::ResourceSet again;
    require(pack::readExecutableResources(written, again, error));
    require(same(sorted(resources), sorted(again)));
    pack::Bytes rewritten;
    require(pack::writeExecutableResources(written, again, rewritten, error) && rewritten == written);
    return 0;
}
