#include "png_file.h"

#include <windows.h>

namespace {

unsigned Crc32(const std::string &bytes, size_t from)
{
    unsigned crc = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); i++) {
        crc ^= (unsigned char)bytes[i];
        for (int bit = 0; bit < 8; bit++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBigEndian(std::string &out, unsigned value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += (char)(value >> shift);
}

void PutChunk(std::string &out, const char *type, const std::string &data)
{
    PutBigEndian(out, (unsigned)data.size());
    size_t start = out.size();
    out += type;
    out += data;
    PutBigEndian(out, Crc32(out, start));
}

} // namespace

bool WritePng(const std::string &path, int width, int height, const std::vector<unsigned> &pixels)
{
    std::string raw; // each row: filter byte 0, then RGB
    for (int y = 0; y < height; y++) {
        raw += '\0';
        for (int x = 0; x < width; x++) {
            unsigned pixel = pixels[(size_t)y * width + x];
            raw += (char)(pixel >> 16);
            raw += (char)(pixel >> 8);
            raw += (char)pixel;
        }
    }
    // zlib stream of stored deflate blocks of at most 65,535 bytes.
    std::string zlib = "\x78\x01";
    unsigned a = 1, b = 0;
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        size_t length = raw.size() - at < 65535 ? raw.size() - at : 65535;
        zlib += (char)(at + length == raw.size());
        zlib += (char)length;
        zlib += (char)(length >> 8);
        zlib += (char)~length;
        zlib += (char)(~length >> 8);
        zlib.append(raw, at, length);
        if (!length)
            break;
    }
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::string header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    std::string file = "\x89PNG\r\n\x1a\n";
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", zlib);
    PutChunk(file, "IEND", "");

    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool whole = WriteFile(out, file.data(), (DWORD)file.size(), &written, 0) && written == file.size();
    return CloseHandle(out) && whole;
}
