// main of every unit test: message boxes are recorded, never shown, then GoogleTest runs the tests.
#include "tests/support/message_box_recorder.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    recordMessageBoxes();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
