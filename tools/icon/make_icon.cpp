// Writes the program icon from its pixels in text form: a 16-colour .ico
// with every image given, and a PNG of each size for the desktop.
//
// usage: make-icon OUT.ico PNG_PREFIX PIXELS.txt...
// Each pixel file holds one row a line, one character a pixel: a hex digit
// picks a colour of the standard 16-colour palette, '.' is transparent.
// Lines starting with '#' are comments.

#include <QColor>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::array<std::uint32_t, 16> kPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
constexpr int kTransparent = -1;

using Pixels = std::vector<std::vector<int>>;

Pixels ReadPixels(const std::string& path)
{
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    Pixels rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<int> row;
        for (const char c : line) {
            row.push_back(c == '.' ? kTransparent : std::stoi(std::string(1, c), nullptr, 16));
        }
        rows.push_back(std::move(row));
    }
    for (const auto& row : rows) {
        if (row.size() != rows.size() || (rows.size() != 16 && rows.size() != 32)) {
            throw std::runtime_error(path + ": an icon image is 16x16 or 32x32 pixels");
        }
    }
    return rows;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::size_t RowBytes(std::size_t bits)
{
    return (bits + 31) / 32 * 4;
}

// BITMAPINFOHEADER, palette, 4-bit colour rows and the 1-bit mask, bottom up.
std::vector<std::uint8_t> IconImage(const Pixels& pixels)
{
    const auto size = static_cast<std::uint32_t>(pixels.size());
    const std::size_t colourRow = RowBytes(size * 4);
    const std::size_t maskRow = RowBytes(size);
    std::vector<std::uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);  // colour rows and mask rows together
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>((colourRow + maskRow) * size));
    for (int i = 0; i < 4; ++i) {
        Put32(out, 0);
    }
    for (const std::uint32_t rgb : kPalette) {
        out.push_back(static_cast<std::uint8_t>(rgb));
        out.push_back(static_cast<std::uint8_t>(rgb >> 8));
        out.push_back(static_cast<std::uint8_t>(rgb >> 16));
        out.push_back(0);
    }
    for (auto row = pixels.rbegin(); row != pixels.rend(); ++row) {
        std::vector<std::uint8_t> bytes(colourRow, 0);
        for (std::size_t x = 0; x < size; ++x) {
            const int index = (*row)[x] == kTransparent ? 0 : (*row)[x];
            bytes[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    for (auto row = pixels.rbegin(); row != pixels.rend(); ++row) {
        std::vector<std::uint8_t> bytes(maskRow, 0);
        for (std::size_t x = 0; x < size; ++x) {
            if ((*row)[x] == kTransparent) {
                bytes[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

std::vector<std::uint8_t> IconFile(const std::vector<Pixels>& images)
{
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const auto& pixels : images) {
        bodies.push_back(IconImage(pixels));
    }
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // an icon
    Put16(out, static_cast<std::uint32_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].size()));
        out.push_back(static_cast<std::uint8_t>(images[i].size()));
        out.push_back(16);  // colours
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 4);  // bits per pixel
        Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies) {
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

QImage ToImage(const Pixels& pixels)
{
    const int size = static_cast<int>(pixels.size());
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int index = pixels[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            if (index != kTransparent) {
                image.setPixel(x, y, 0xFF000000u | kPalette[static_cast<std::size_t>(index)]);
            }
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::cerr << "usage: make-icon OUT.ico PNG_PREFIX PIXELS.txt...\n";
        return 2;
    }
    try {
        std::vector<Pixels> images;
        for (int i = 3; i < argc; ++i) {
            images.push_back(ReadPixels(argv[i]));
        }
        const auto ico = IconFile(images);
        std::ofstream(argv[1], std::ios::binary).write(reinterpret_cast<const char*>(ico.data()),
                                                        static_cast<std::streamsize>(ico.size()));
        for (const auto& pixels : images) {
            const QString png = QStringLiteral("%1-%2.png").arg(QString::fromLocal8Bit(argv[2])).arg(pixels.size());
            if (!ToImage(pixels).save(png)) {
                throw std::runtime_error("cannot write " + png.toStdString());
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "make-icon: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
