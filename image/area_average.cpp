// Area averaging: shrinking a picture so that each pixel is the mean of the area it covers.
#include "image/image.h"

#include <algorithm>
#include <vector>

namespace {

// Output sample i of a `from` -> `to` resampling covers source samples [i * from / to, (i + 1) * from / to).
// In units of 1 / to every boundary is an integer, so each weight is the exact overlap.
struct Coverage {
    int first;                  // first source sample under the output sample
    std::vector<int64_t> parts; // overlap with it and the samples after it; they add up to `from`
};

std::vector<Coverage> areaCoverage(int from, int to) {
    std::vector<Coverage> coverage(static_cast<size_t>(to));
    for (int i = 0; i < to; ++i) {
        const int64_t start = int64_t(i) * from;
        const int64_t end = start + from;
        Coverage& c = coverage[static_cast<size_t>(i)];
        c.first = static_cast<int>(start / to);
        for (int64_t s = c.first; s * to < end; ++s)
            c.parts.push_back(std::min(end, (s + 1) * to) - std::max(start, s * to));
    }
    return coverage;
}

} // namespace

// Each output row is summed from the source rows under it, each shrunk across first, in exact
// integers; only one output row of sums is held at a time, so a map at the decoder's limit needs no
// more than a row's worth of memory besides the two pictures.
void shrinkByAreaAveraging(const unsigned char* from, int fromWidth, int fromHeight, int channels,
                           unsigned char* to, int toWidth, int toHeight) {
    const std::vector<Coverage> across = areaCoverage(fromWidth, toWidth);
    const std::vector<Coverage> down = areaCoverage(fromHeight, toHeight);
    const size_t rowValues = static_cast<size_t>(toWidth) * channels;
    std::vector<int64_t> shrunkRow(rowValues);
    std::vector<int64_t> sums(rowValues);
    const int64_t area = int64_t(fromWidth) * fromHeight;
    for (int y = 0; y < toHeight; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const Coverage& rows = down[static_cast<size_t>(y)];
        for (size_t r = 0; r < rows.parts.size(); ++r) {
            const unsigned char* source = from + static_cast<size_t>(rows.first + r) * fromWidth * channels;
            for (int x = 0; x < toWidth; ++x) {
                const Coverage& c = across[static_cast<size_t>(x)];
                for (int k = 0; k < channels; ++k) {
                    int64_t sum = 0;
                    for (size_t i = 0; i < c.parts.size(); ++i)
                        sum += c.parts[i] * source[(c.first + i) * channels + k];
                    shrunkRow[static_cast<size_t>(x) * channels + k] = sum;
                }
            }
            for (size_t v = 0; v < rowValues; ++v)
                sums[v] += rows.parts[r] * shrunkRow[v];
        }
        unsigned char* out = to + static_cast<size_t>(y) * rowValues;
        for (size_t v = 0; v < rowValues; ++v)
            out[v] = static_cast<unsigned char>((sums[v] + area / 2) / area);
    }
}
