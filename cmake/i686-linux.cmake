# The native test suites built a second time as static i686 Linux programs,
# run under user-mode emulation (qemu-i386) on any machine, whatever its
# kernel runs: the shipped player is a 32-bit build, and its x87 arithmetic
# and 32-bit sizes are what a 64-bit test cannot see.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(KELVO_QEMU_I386 qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KELVO_QEMU_I386})

# zlib from Debian's lib32z1-dev: its 32-bit libz.a, and the headers of
# /usr/include, which are the same for every architecture. The cross
# compiler must not search the whole of /usr/include (the 64-bit glibc
# headers), so a folder of the build tree holds links to those two.
if(EXISTS /usr/lib32/libz.a)
    set(zlibHeaders ${CMAKE_BINARY_DIR}/i686-zlib-include)
    foreach(header zlib.h zconf.h)
        if(NOT EXISTS ${zlibHeaders}/${header})
            file(MAKE_DIRECTORY ${zlibHeaders})
            file(CREATE_LINK /usr/include/${header} ${zlibHeaders}/${header} SYMBOLIC)
        endif()
    endforeach()
    set(ZLIB_INCLUDE_DIR ${zlibHeaders} CACHE PATH "zlib headers for i686")
    set(ZLIB_LIBRARY /usr/lib32/libz.a CACHE FILEPATH "zlib for i686")
endif()
