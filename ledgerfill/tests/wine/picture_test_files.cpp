#include "picture_test_files.h"

#include <windows.h>

#include <algorithm>

namespace {

void put(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

}  // namespace

std::string make_bmp(int width, int height, int bits, const pixel_source& pixel, const fourth_byte_source& fourth)
{
    const uint32_t row = (static_cast<uint32_t>(bits * width) + 31) / 32 * 4;
    const uint32_t image = row * height;
    std::string out;
    out += "BM";
    put(out, 54 + image, 4);
    put(out, 0, 4);
    put(out, 54, 4);
    put(out, 40, 4);
    put(out, width, 4);
    put(out, height, 4);
    put(out, 1, 2);
    put(out, bits, 2);
    put(out, 0, 4);
    put(out, image, 4);
    put(out, 2835, 4);
    put(out, 2835, 4);
    put(out, 0, 4);
    put(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            rgb c = pixel(x, y);
            out.push_back(static_cast<char>(c.blue));
            out.push_back(static_cast<char>(c.green));
            out.push_back(static_cast<char>(c.red));
            if (bits == 32)
                out.push_back(static_cast<char>(fourth ? fourth(x, y) : 0));
        }
        out.resize(start + row, '\0');
    }
    return out;
}

namespace {

uint32_t crc32_of(const std::string& bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    return ~crc;
}

void put_big(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift));
}

void png_chunk(std::string& out, const char* type, const std::string& data)
{
    put_big(out, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    put_big(out, crc32_of(body));
}

}  // namespace

std::string make_png_with_alpha(int width, int height, const pixel_source& pixel, const fourth_byte_source& alpha)
{
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0');  // no filter
        for (int x = 0; x < width; ++x) {
            rgb c = pixel(x, y);
            raw += {static_cast<char>(c.red), static_cast<char>(c.green), static_cast<char>(c.blue),
                    static_cast<char>(alpha(x, y))};
        }
    }
    std::string deflated = "\x78\x01";
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        size_t n = std::min<size_t>(65535, raw.size() - at);
        deflated.push_back(at + n >= raw.size() ? 1 : 0);  // last stored block?
        put(deflated, static_cast<uint32_t>(n), 2);
        put(deflated, static_cast<uint32_t>(~n & 0xFFFF), 2);
        deflated += raw.substr(at, n);
    }
    uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put_big(deflated, b << 16 | a);

    std::string header;
    put_big(header, width);
    put_big(header, height);
    header += {8, 6, 0, 0, 0};  // 8 bits a sample, RGBA
    std::string out = "\x89PNG\r\n\x1a\n";
    png_chunk(out, "IHDR", header);
    png_chunk(out, "IDAT", deflated);
    png_chunk(out, "IEND", "");
    return out;
}

uint32_t le32(const std::string& b, size_t o)
{
    if (o + 4 > b.size())
        return 0;
    return static_cast<uint8_t>(b[o]) | static_cast<uint8_t>(b[o + 1]) << 8 | static_cast<uint8_t>(b[o + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[o + 3])) << 24;
}

uint16_t le16(const std::string& b, size_t o)
{
    if (o + 2 > b.size())
        return 0;
    return static_cast<uint16_t>(static_cast<uint8_t>(b[o]) | static_cast<uint8_t>(b[o + 1]) << 8);
}

read_bmp::read_bmp(const std::string& file) : bytes(file)
{
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0)
        return;
    width = static_cast<int>(le32(bytes, 18));
    height = static_cast<int>(le32(bytes, 22));
    bits = le16(bytes, 28);
    pixel_offset = le32(bytes, 10);
    row_size = (static_cast<uint32_t>(bits * width) + 31) / 32 * 4;
    ok = width > 0 && height > 0 && pixel_offset + static_cast<uint64_t>(row_size) * height <= bytes.size();
}

rgb read_bmp::at(int x, int y) const
{
    size_t o = pixel_offset + static_cast<size_t>(row_size) * (height - 1 - y) + 3 * static_cast<size_t>(x);
    rgb c;
    c.blue = static_cast<uint8_t>(bytes[o]);
    c.green = static_cast<uint8_t>(bytes[o + 1]);
    c.red = static_cast<uint8_t>(bytes[o + 2]);
    return c;
}

uint8_t read_bmp::index_at(int x, int y) const
{
    size_t row = pixel_offset + static_cast<size_t>(row_size) * (height - 1 - y);
    size_t bit = static_cast<size_t>(x) * bits;
    uint8_t byte = static_cast<uint8_t>(bytes[row + bit / 8]);
    return static_cast<uint8_t>((byte >> (8 - bits - bit % 8)) & ((1 << bits) - 1));
}

rgb read_bmp::table_colour(uint8_t index) const
{
    size_t o = 54 + 4 * static_cast<size_t>(index);
    rgb c;
    c.blue = static_cast<uint8_t>(bytes[o]);
    c.green = static_cast<uint8_t>(bytes[o + 1]);
    c.red = static_cast<uint8_t>(bytes[o + 2]);
    return c;
}

void leave_for_readers(const std::string& name, const std::string& source_bytes, const std::string& result_path,
                       const char* mode, int bits)
{
    static bool fresh = false;
    static std::string dir;
    if (!fresh) {
        dir = fresh_dir_on_d("picture_readers");
        fresh = true;
    }
    write_file(dir + "\\" + name + ".source", source_bytes);
    write_file(dir + "\\" + name + ".bmp", read_file(result_path));
    std::string cases = read_file(dir + "\\cases.txt");
    cases += name + " " + mode + " " + std::to_string(bits) + "\n";
    write_file(dir + "\\cases.txt", cases);
}
