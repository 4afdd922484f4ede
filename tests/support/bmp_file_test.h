// Fixture for decoder tests: a fresh folder, no boxes recorded yet, and load() for bytes written to a file.
#pragma once

#include "tests/support/bmp_builder.h"
#include "tests/support/message_box_recorder.h"

#include <gtest/gtest.h>
#include <string>

class BmpFileTest : public ::testing::Test {
public:
    void SetUp() override {
        clearRecordedMessageBoxes();
        directory = makeTestDirectory();
        path = directory + "/image.bmp";
    }
    void TearDown() override { removeTestDirectory(directory); }
    RgbImage* load(const Bytes& bytes) {
        writeBytes(path, bytes);
        return loadBmpImage(path.c_str());
    }
    std::string directory;
    std::string path;
};
