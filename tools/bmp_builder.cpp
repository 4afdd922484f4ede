// BMP files laid out by hand, so that malformed variants are as easy to make as ordinary ones.
#include "tools/bmp_builder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

void appendU16(Bytes* bytes, uint32_t value) {
    bytes->push_back(static_cast<uint8_t>(value));
    bytes->push_back(static_cast<uint8_t>(value >> 8));
}

void appendU32(Bytes* bytes, uint32_t value) {
    appendU16(bytes, value & 0xffff);
    appendU16(bytes, value >> 16);
}

Bytes buildBmp(const BmpParts& p) {
    Bytes header;
    bool core = p.headerSize == 12;
    appendU32(&header, p.headerSize);
    if (core) {
        appendU16(&header, static_cast<uint32_t>(p.width));
        appendU16(&header, static_cast<uint32_t>(p.height));
        appendU16(&header, p.planes);
        appendU16(&header, p.bitCount);
    } else {
        appendU32(&header, static_cast<uint32_t>(p.width));
        appendU32(&header, static_cast<uint32_t>(p.height));
        appendU16(&header, p.planes);
        appendU16(&header, p.bitCount);
        appendU32(&header, p.compression);
        appendU32(&header, p.sizeImage);
        appendU32(&header, 2835); // 72 dots per inch
        appendU32(&header, 2835);
        appendU32(&header, p.colorsUsed);
        appendU32(&header, 0);
        if (header.size() < p.headerSize) header.resize(p.headerSize, 0);
    }
    for (uint32_t mask : p.masks)
        appendU32(&header, mask);
    for (uint32_t color : p.palette) {
        header.push_back(static_cast<uint8_t>(color));
        header.push_back(static_cast<uint8_t>(color >> 8));
        header.push_back(static_cast<uint8_t>(color >> 16));
        if (!core) header.push_back(0);
    }
    Bytes file;
    if (p.fileHeader) {
        uint32_t offset = static_cast<uint32_t>(p.pixelOffset >= 0 ? p.pixelOffset : 14 + header.size());
        file = {'B', 'M'};
        appendU32(&file, static_cast<uint32_t>(14 + header.size() + p.pixels.size()));
        appendU32(&file, 0);
        appendU32(&file, offset);
    }
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), p.pixels.begin(), p.pixels.end());
    return file;
}

Bytes packRows(const std::vector<std::vector<uint32_t>>& rows, int bitCount) {
    Bytes out;
    for (const std::vector<uint32_t>& row : rows) {
        size_t start = out.size();
        if (bitCount < 8) {
            int perByte = 8 / bitCount;
            for (size_t x = 0; x < row.size(); x += perByte) {
                uint8_t byte = 0;
                for (int i = 0; i < perByte; ++i) {
                    uint32_t value = x + i < row.size() ? row[x + i] : 0;
                    byte |= static_cast<uint8_t>(value << (8 - bitCount * (i + 1)));
                }
                out.push_back(byte);
            }
        } else {
            for (uint32_t value : row) {
                if (bitCount == 8) out.push_back(static_cast<uint8_t>(value));
                if (bitCount == 16) appendU16(&out, value);
                if (bitCount >= 24) {
                    out.push_back(static_cast<uint8_t>(value));       // blue
                    out.push_back(static_cast<uint8_t>(value >> 8));  // green
                    out.push_back(static_cast<uint8_t>(value >> 16)); // red
                }
                if (bitCount == 32) out.push_back(value >> 24);
            }
        }
        while ((out.size() - start) % 4 != 0)
            out.push_back(0);
    }
    return out;
}

std::string makeTestDirectory() {
    // mkdtemp is POSIX only: try random names until one is new, which creating it proves.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path directory =
            std::filesystem::temp_directory_path() / ("astrolume-bmp-" + std::to_string(random()));
        if (std::filesystem::create_directory(directory)) return directory.string();
    }
    throw std::runtime_error("cannot make a temporary directory");
}

void removeTestDirectory(const std::string& directory) {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}

bool writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
