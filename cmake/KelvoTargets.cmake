# Compile options shared by every target of the project.
function(kelvo_compile_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(WIN32)
        # ANSI Win32 throughout: every user text is a Windows-1252 byte string.
        target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0600 WINVER=0x0600)
    endif()
endfunction()

# Native builds run the core and its tests under the sanitizers.
if(NOT WIN32 AND NOT EMSCRIPTEN AND KELVO_SANITIZE AND NOT KELVO_FUZZ)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
