# For the scripts that embed files into kelvopack at build time: appends to
# `arrays` the C++ byte array `name` holding `file` (so no character in it
# needs escaping) and sets `view` to a std::string_view over it.
function(byte_array name file)
    file(READ ${file} hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
    set(arrays "${arrays}const unsigned char ${name}[${size} + 1] = {\n${bytes}0};\n" PARENT_SCOPE)
    set(view "std::string_view(reinterpret_cast<const char*>(${name}), ${size})" PARENT_SCOPE)
endfunction()
