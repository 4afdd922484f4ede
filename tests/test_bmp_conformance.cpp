// The BMP conformance corpus: every file in MANIFEST.tsv gets the outcome its `expected` column names.
#include "image/image.h"
#include "tests/support/message_box_recorder.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const std::string corpusDirectory = ASTROLUME_BMPSUITE_DIR;

struct ManifestRow {
    std::string path;
    std::string refPng;
    std::string expected;
};

void PrintTo(const ManifestRow& row, std::ostream* out) {
    *out << row.path << " (" << row.expected << ")";
}

std::vector<ManifestRow> readManifest() {
    std::vector<ManifestRow> rows;
    std::ifstream manifest(corpusDirectory + "/MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line); // column names
    while (std::getline(manifest, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        if (fields.size() >= 11) rows.push_back({fields[0], fields[9], fields[10]});
    }
    if (rows.empty()) rows.push_back({"", "", "absent"}); // one row that skips, so the suite still reports
    return rows;
}

// Largest per-channel difference allowed against the reference picture.
int toleranceFor(const ManifestRow& row) {
    if (row.path == "g/rgb16.bmp" || row.path == "q/rgb16faketrns.bmp") return 7; // 5-bit widening is free
    if (row.expected == "choice") return 1; // bit-field references round differently by one
    return 0;
}

struct RefPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba; // top row first
};

RefPicture loadReference(const std::string& name) {
    RefPicture picture;
    int channels;
    std::string file = corpusDirectory + "/ref/" + name;
    unsigned char* data = stbi_load(file.c_str(), &picture.width, &picture.height, &channels, 4);
    if (data) picture.rgba.assign(data, data + static_cast<size_t>(picture.width) * picture.height * 4);
    stbi_image_free(data);
    return picture;
}

// Compares a decoded image (bottom row first) with a reference (top row first). Transparent reference
// pixels mark run-length pixels the file skips, whose colour is the decoder's choice.
void expectMatchesReference(const RgbImage* image, const ManifestRow& row) {
    RefPicture ref = loadReference(row.refPng);
    ASSERT_FALSE(ref.rgba.empty()) << "cannot read " << row.refPng;
    ASSERT_EQ(image->width, ref.width);
    ASSERT_EQ(image->height, ref.height);
    int tolerance = toleranceFor(row);
    int mismatches = 0;
    for (int y = 0; y < ref.height && mismatches < 5; ++y) {
        for (int x = 0; x < ref.width && mismatches < 5; ++x) {
            const unsigned char* expected = &ref.rgba[(static_cast<size_t>(y) * ref.width + x) * 4];
            if (expected[3] == 0) continue;
            const unsigned char* actual =
                image->pixels + (static_cast<size_t>(ref.height - 1 - y) * image->width + x) * 3;
            for (int channel = 0; channel < 3; ++channel) {
                if (std::abs(actual[channel] - expected[channel]) > tolerance) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " (top row 0) channel " << channel
                                  << ": got " << int(actual[channel]) << ", expected "
                                  << int(expected[channel]);
                    ++mismatches;
                    break;
                }
            }
        }
    }
}

// The decoded twin for a top-down file: the same picture stored bottom-up.
std::string bottomUpTwin(const std::string& path) {
    if (path == "g/pal8topdown.bmp") return "g/pal8.bmp";
    return "";
}

class BmpConformanceTest : public ::testing::TestWithParam<ManifestRow> {
  protected:
    void SetUp() override { clearRecordedMessageBoxes(); }
};

TEST_P(BmpConformanceTest, FileGivesItsExpectedOutcome) {
    const ManifestRow& row = GetParam();
    if (row.expected == "absent") {
        // A fresh clone may lack the corpus; continuous integration always has it.
        if (std::getenv("CI")) FAIL() << "no corpus at " << corpusDirectory << " (CI is set)";
        GTEST_SKIP() << "no corpus at " << corpusDirectory;
    }
    std::string file = corpusDirectory + "/" + row.path;
    RgbImage* image = loadBmpImage(file.c_str());
    const std::vector<RecordedMessageBox>& boxes = recordedMessageBoxes();

    if (row.expected == "safe") {
        EXPECT_EQ(boxes.size(), image ? 0u : 1u);
    } else if (row.expected.rfind("reject:", 0) == 0) {
        std::string message = row.expected.substr(8, row.expected.size() - 9); // inside the quotes
        EXPECT_EQ(image, nullptr);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Error");
        EXPECT_EQ(boxes[0].text, message);
    } else if (row.expected == "choice" && !image) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Image file conversion error.");
    } else {
        ASSERT_NE(image, nullptr) << (boxes.empty() ? "" : boxes[0].text);
        EXPECT_TRUE(boxes.empty());
        if (row.path == "b/pal8badindex.bmp") {
            // Colours past the table are undefined by the corpus; only the size is checked.
            EXPECT_EQ(image->width, 127);
            EXPECT_EQ(image->height, 64);
        } else {
            expectMatchesReference(image, row);
        }
        std::string twin = bottomUpTwin(row.path);
        if (row.expected == "decode-topdown" && !twin.empty()) {
            RgbImage* bottomUp = loadBmpImage((corpusDirectory + "/" + twin).c_str());
            ASSERT_NE(bottomUp, nullptr);
            size_t bytes = static_cast<size_t>(image->width) * image->height * 3;
            EXPECT_EQ(std::vector<unsigned char>(image->pixels, image->pixels + bytes),
                      std::vector<unsigned char>(bottomUp->pixels, bottomUp->pixels + bytes));
            freeRgbImage(bottomUp);
        }
    }
    freeRgbImage(image);
}

std::string rowName(const ::testing::TestParamInfo<ManifestRow>& info) {
    std::string name = info.param.path.empty() ? "corpus_absent" : info.param.path;
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Manifest, BmpConformanceTest, ::testing::ValuesIn(readManifest()), rowName);

// The manifest's decode-topdown rows must all have a bottom-up twin known to this test.
TEST(BmpConformanceManifestTest, EveryTopDownRowHasATwin) {
    for (const ManifestRow& row : readManifest()) {
        if (row.expected == "decode-topdown") {
            EXPECT_FALSE(bottomUpTwin(row.path).empty()) << row.path;
        }
    }
}

} // namespace
