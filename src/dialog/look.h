#pragma once

#include <array>
#include <string>

// What the dialogs and boxes look like on every backend.
namespace tarnel::dialog::look {

// The Song face, in the order a system may know it by; Windows takes the
// first, which every Chinese Windows has.
constexpr std::array<const char*, 4> kFontFaces{"宋体", "SimSun", "AR PL UMing CN", "Noto Serif CJK SC"};
constexpr int kFontPoints = 9;

// A box's OK button, whatever the system's own language.
constexpr const char* kOkCaption = "确定";

// A box's title: the application's name, or none without an application.
std::string BoxTitle();

}  // namespace tarnel::dialog::look
