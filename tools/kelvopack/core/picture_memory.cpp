#include "core/picture_memory.h"

#include <cstdlib>
#include <cstring>

namespace kelvo::pack {

namespace {

constexpr std::size_t LargeBlock = 1 << 20;
constexpr std::size_t MaxSpareBlocks = 8;

// Before each block: its usable size, keeping the block aligned as malloc's.
struct alignas(alignof(std::max_align_t)) BlockHeader {
    std::size_t capacity;
};

BlockHeader* headerOf(void* block) { return static_cast<BlockHeader*>(block) - 1; }

thread_local SpareBlocks* spareBlocks = nullptr;

}  // namespace

SpareBlocks::SpareBlocks() : previous(spareBlocks) {
    blocks.reserve(MaxSpareBlocks);   // keeping a block never allocates
    spareBlocks = this;
}

SpareBlocks::~SpareBlocks() {
    spareBlocks = previous;
    for (void* block : blocks) std::free(headerOf(block));
}

void* allocatePictureMemory(std::size_t size) {
    if (spareBlocks != nullptr && size >= LargeBlock) {
        std::vector<void*>& blocks = spareBlocks->blocks;
        auto best = blocks.end();
        for (auto it = blocks.begin(); it != blocks.end(); ++it) {
            if (headerOf(*it)->capacity >= size && (best == blocks.end() || headerOf(*it)->capacity < headerOf(*best)->capacity))
                best = it;
        }
        if (best != blocks.end()) {
            void* block = *best;
            blocks.erase(best);
            return block;
        }
    }
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (header == nullptr) return nullptr;
    header->capacity = size;
    return header + 1;
}

void* reallocatePictureMemory(void* block, std::size_t size) {
    if (block == nullptr) return allocatePictureMemory(size);
    const std::size_t capacity = headerOf(block)->capacity;
    if (capacity >= size) return block;
    void* grown = allocatePictureMemory(size);
    if (grown == nullptr) return nullptr;
    std::memcpy(grown, block, capacity);
    releasePictureMemory(block);
    return grown;
}

void releasePictureMemory(void* block) {
    if (block == nullptr) return;
    if (spareBlocks != nullptr && headerOf(block)->capacity >= LargeBlock && spareBlocks->blocks.size() < MaxSpareBlocks) {
        spareBlocks->blocks.push_back(block);
        return;
    }
    std::free(headerOf(block));
}

}  // namespace kelvo::pack
