# Writes the compiled catalogue CATALOGUE as the C++ source OUTPUT.
file(READ ${CATALOGUE} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "#include \"messages/chinese_catalogue.h\"\n\nnamespace tarnel::messages {\nnamespace {\n\n"
                     "const std::uint8_t kBytes[] = {\n${bytes}};\n\n}  // namespace\n\n"
                     "const std::span<const std::uint8_t> kChineseCatalogue(kBytes);\n\n}  // namespace tarnel::messages\n")
