// Decoding speed on 4096 x 4096 files: the program's decoder, stb_image on the same files, and memcpy
// of the same number of output bytes. Throughput counts output (RGB) bytes in every case.
// BM_CopyMappedRgb24 is the floor for a 24-bit file: everything the decoder does but the conversion.
#include "image/image.h"
#include "platform/platform.h"
#include "tools/bmp_builder.h"

#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int side = 4096;
constexpr size_t outputBytes = size_t(side) * side * 3;

struct BenchFiles {
    std::string directory;
    std::string rgb24;
    std::string pal8;
    std::string rle8;
};

// Palette index of a smooth, banded picture: horizontal runs of 1 to about 40 equal pixels.
uint8_t bandIndex(int x, int y) {
    int band = (x + (y * 7) % 40) / (1 + (y + x / 64) % 40);
    return static_cast<uint8_t>((band * 13 + y / 16) & 0xff);
}

Bytes encodeRle8(const std::vector<std::vector<uint32_t>>& rows) {
    Bytes out;
    for (const std::vector<uint32_t>& row : rows) {
        size_t x = 0;
        while (x < row.size()) {
            size_t run = 1;
            while (x + run < row.size() && run < 255 && row[x + run] == row[x])
                ++run;
            if (run >= 2) {
                out.insert(out.end(), {static_cast<uint8_t>(run), static_cast<uint8_t>(row[x])});
                x += run;
                continue;
            }
            // Literal pixels until the next pair of equal ones, sent as an absolute run when 3 or more.
            size_t end = x + 1;
            while (end < row.size() && end - x < 255 && !(end + 1 < row.size() && row[end] == row[end + 1]))
                ++end;
            size_t count = end - x;
            if (count < 3) {
                for (size_t i = 0; i < count; ++i)
                    out.insert(out.end(), {1, static_cast<uint8_t>(row[x + i])});
            } else {
                out.insert(out.end(), {0, static_cast<uint8_t>(count)});
                for (size_t i = 0; i < count; ++i)
                    out.push_back(static_cast<uint8_t>(row[x + i]));
                if (count & 1) out.push_back(0);
            }
            x = end;
        }
        out.insert(out.end(), {0, 0});
    }
    out.insert(out.end(), {0, 1});
    return out;
}

const BenchFiles& benchFiles() {
    static BenchFiles files = [] {
        BenchFiles f;
        f.directory = makeTestDirectory();
        std::vector<std::vector<uint32_t>> colors(side, std::vector<uint32_t>(side));
        std::vector<std::vector<uint32_t>> indices(side, std::vector<uint32_t>(side));
        uint32_t noise = 12345;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                noise = noise * 1664525u + 1013904223u;
                uint32_t r = (x / 16 + (noise >> 29)) & 0xff, g = (y / 16 + (noise >> 27 & 7)) & 0xff;
                uint32_t b = ((x + y) / 32 + (noise >> 24 & 7)) & 0xff;
                colors[y][x] = r << 16 | g << 8 | b;
                indices[y][x] = bandIndex(x, y);
            }
        std::vector<uint32_t> palette;
        for (uint32_t i = 0; i < 256; ++i)
            palette.push_back((i * 0x010305u) & 0xffffff);

        BmpParts parts;
        parts.width = side;
        parts.height = side;
        parts.pixels = packRows(colors, 24);
        f.rgb24 = f.directory + "/rgb24.bmp";
        bool written = writeBytes(f.rgb24, buildBmp(parts));

        parts.bitCount = 8;
        parts.palette = palette;
        parts.pixels = packRows(indices, 8);
        f.pal8 = f.directory + "/pal8.bmp";
        written = writeBytes(f.pal8, buildBmp(parts)) && written;

        parts.compression = 1;
        parts.pixels = encodeRle8(indices);
        f.rle8 = f.directory + "/rle8.bmp";
        written = writeBytes(f.rle8, buildBmp(parts)) && written;
        if (!written) std::fprintf(stderr, "cannot write the benchmark's files in %s\n", f.directory.c_str());
        return f;
    }();
    return files;
}

const std::string& fileFor(int kind) {
    const BenchFiles& f = benchFiles();
    return kind == 24 ? f.rgb24 : kind == 8 ? f.pal8 : f.rle8;
}

void decoderLabel(benchmark::State& state) {
    int kind = static_cast<int>(state.range(0));
    state.SetLabel(kind == 24 ? "24-bit" : kind == 8 ? "8-bit" : "RLE8");
}

// Maps, decodes and unmaps each time, as loading a body image does.
void BM_AstrolumeDecoder(benchmark::State& state) {
    const std::string& path = fileFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        MappedFile file;
        if (!mapFileReadOnly(path.c_str(), &file)) {
            state.SkipWithError("cannot map the file");
            break;
        }
        RgbImage* image = nullptr;
        BmpError error = decodeBmpImage(file.data, file.size, maxBmpPixelCount, &image);
        unmapFile(&file);
        if (error != BmpError::none) {
            state.SkipWithError(bmpErrorMessage(error));
            break;
        }
        benchmark::DoNotOptimize(image->pixels);
        freeRgbImage(image);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * outputBytes));
    decoderLabel(state);
}

void BM_StbImage(benchmark::State& state) {
    const std::string& path = fileFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int width, height, channels;
        unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
        if (!pixels) {
            state.SkipWithError(
                ("stb_image refuses the file: " + std::string(stbi_failure_reason())).c_str());
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * outputBytes));
    decoderLabel(state);
}

// memcpy into a buffer kept between iterations: the bandwidth ceiling.
void BM_Memcpy(benchmark::State& state) {
    std::vector<unsigned char> source(outputBytes, 1), target(outputBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), outputBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * outputBytes));
}

// memcpy into a fresh malloc'd buffer each time, as the decoder must return a new image each call.
void BM_MemcpyFreshBuffer(benchmark::State& state) {
    std::vector<unsigned char> source(outputBytes, 1);
    for (auto _ : state) {
        unsigned char* target = static_cast<unsigned char*>(std::malloc(outputBytes));
        std::memcpy(target, source.data(), outputBytes);
        benchmark::DoNotOptimize(target);
        std::free(target);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * outputBytes));
}

// Maps the 24-bit file, allocates and advises a fresh output as the decoder does, and copies the
// stored pixel bytes into it unchanged (4096 * 3 bytes per row need no padding, so the sizes match).
void BM_CopyMappedRgb24(benchmark::State& state) {
    const std::string& path = fileFor(24);
    for (auto _ : state) {
        MappedFile file;
        if (!mapFileReadOnly(path.c_str(), &file)) {
            state.SkipWithError("cannot map the file");
            break;
        }
        uint32_t pixelOffset;
        std::memcpy(&pixelOffset, file.data + 10, 4);
        RgbImage* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
        unsigned char* pixels = allocatePixelArray(outputBytes); // as the decoder allocates its output
        std::memcpy(pixels, file.data + pixelOffset, outputBytes);
        benchmark::DoNotOptimize(pixels);
        benchmark::DoNotOptimize(image);
        std::free(pixels);
        std::free(image);
        unmapFile(&file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * outputBytes));
}

BENCHMARK(BM_AstrolumeDecoder)->Arg(24)->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StbImage)->Arg(24)->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemcpyFreshBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyMappedRgb24)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchFiles();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    removeTestDirectory(benchFiles().directory);
    return 0;
}
