// The Windows resources read back from a cross-built executable with
// wrestool: the icon's two images, the about-menu string and the version
// block, all in language 0x0804.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string CommandOutput(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return output;
    }
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), n);
    }
    ::pclose(pipe);
    return output;
}

std::string Resource(const char* type)
{
    return CommandOutput(std::string("wrestool -x --raw --type=") + type + " " TARNEL_RESOURCE_CARRIER_EXE);
}

std::string Utf16(const std::u16string& text)
{
    std::string bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::uint32_t Dword(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

TEST(WindowsResources, EveryResourceIsSimplifiedChineseAndTheIconHasBothImages)
{
    const std::string list = CommandOutput("wrestool -l " TARNEL_RESOURCE_CARRIER_EXE);
    EXPECT_NE(list.find("--type=14 --name=128 --language=2052"), std::string::npos) << list;
    EXPECT_NE(list.find("--type=3 --name=1 --language=2052 [type=icon offset="), std::string::npos) << list;
    EXPECT_NE(list.find("size=744]"), std::string::npos) << "32x32, 16 colours and mask\n" << list;
    EXPECT_NE(list.find("size=296]"), std::string::npos) << "16x16, 16 colours and mask\n" << list;
    EXPECT_NE(list.find("--type=16 --name=1 --language=2052"), std::string::npos) << list;
    const auto count = [&list](const std::string& what) {
        std::size_t n = 0;
        for (auto at = list.find(what); at != std::string::npos; at = list.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count("--language="), count("--language=2052")) << list;

    EXPECT_NE(Resource("6").find(Utf16(u"关于 Tarnel(&A)...")), std::string::npos);
}

TEST(WindowsResources, TheVersionBlockHoldsVersion1001AndTheChineseStrings)
{
    const std::string version = Resource("16");
    const std::size_t fixed = version.find(std::string("\xBD\x04\xEF\xFE", 4));
    ASSERT_NE(fixed, std::string::npos);
    // File and product version 1.0.0.1, flags mask and flags, 32-bit
    // Windows, an application, no subtype.
    const std::uint32_t expected[] = {0x00010000, 1, 0x00010000, 1, 0x3F, 0, 4, 1, 0};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(Dword(version, fixed + 8 + 4 * i), expected[i]) << "dword " << i;
    }
    for (const char16_t* text : {u"080404b0", u"1, 0, 0, 1", u"InternalName", u"Tarnel.EXE", u"Tarnel 应用程序",
                                 u"SpecialBuild", u"Translation"}) {
        EXPECT_NE(version.find(Utf16(text)), std::string::npos);
    }
    EXPECT_NE(version.find(std::string("\x04\x08\xB0\x04", 4), version.find(Utf16(u"Translation"))),
              std::string::npos)
        << "0x0804 with code page 1200";
}

}  // namespace
