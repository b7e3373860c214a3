// The implementations of the stb picture libraries, compiled once here:
// decoding (BMP, GIF, JPEG, PNG from memory), resizing and JPEG writing,
// with their large buffers kept from one picture to the next.
#include "core/picture_memory.h"

#define STBI_MALLOC(size) kelvo::pack::allocatePictureMemory(size)
#define STBI_REALLOC(block, size) kelvo::pack::reallocatePictureMemory(block, size)
#define STBI_FREE(block) kelvo::pack::releasePictureMemory(block)
#define STBIR_MALLOC(size, context) ((void)(context), kelvo::pack::allocatePictureMemory(size))
#define STBIR_FREE(block, context) ((void)(context), kelvo::pack::releasePictureMemory(block))

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#include <stb/stb_image.h>

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>
