// Memory for the picture libraries, with large blocks kept for the next
// picture of the same thread. A phone's photo decodes into some 60 MB, and
// fresh memory costs the kernel a page fault for every 4 KB of it: in a
// build of 96 photos under Wine that was a third of the processor time
// (23 s of 66). While a SpareBlocks lives on a thread, the large blocks
// freed there wait in it for the next picture.
#pragma once

#include <cstddef>
#include <vector>

namespace kelvo::pack {

class SpareBlocks {
public:
    SpareBlocks();    // becomes the calling thread's store
    ~SpareBlocks();   // frees the blocks it kept
    SpareBlocks(const SpareBlocks&) = delete;
    SpareBlocks& operator=(const SpareBlocks&) = delete;

private:
    friend void* allocatePictureMemory(std::size_t size);
    friend void releasePictureMemory(void* block);
    std::vector<void*> blocks;
    SpareBlocks* previous;
};

// malloc, realloc and free for stb: from and to the thread's SpareBlocks
// when there is one.
void* allocatePictureMemory(std::size_t size);
void* reallocatePictureMemory(void* block, std::size_t size);
void releasePictureMemory(void* block);

}  // namespace kelvo::pack
