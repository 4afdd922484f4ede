// The planet maps converted by make_body_images, as the program shows them.
#include "tests/support/e2e_bmp.h"
#include "tests/support/e2e_session.h"

#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

TEST(EndToEndBodyMaps, ConvertedMapsLoadWithoutABoxAndColourThePlanets) {
    Session session;
    if (!convertBodyMaps(session.folder.path() + "/image"))
        GTEST_SKIP()
            << "make_body_images is not built, or the planet maps of openuniverse-common are not installed";
    session.start();
    ASSERT_TRUE(session.waitForMainWindow()) << session.whyNo("the Astrolume window");
    Picture picture;
    ASSERT_TRUE(session.waitForPicture(
        [](const Picture& p) { return isLit(p.at(pixelX(atRest::neptune.x), pixelY(0))); }, &picture))
        << session.whyNotShown(picture, "maps");
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(session.display.mappedTitles(), std::vector<std::string>{mainTitle}) << "a box about a map";

    // Untextured bodies are pure grey; these maps are distinctly blue, sandy and rusty.
    const Rgb neptune = picture.at(pixelX(atRest::neptune.x), pixelY(0));
    const Rgb saturn = picture.at(pixelX(atRest::saturn.x), pixelY(0));
    const Rgb mars = picture.at(pixelX(atRest::mars.x), pixelY(0));
    EXPECT_GT(neptune.blue, neptune.red + 60) << "Neptune " << describe(neptune);
    EXPECT_GT(saturn.red, saturn.blue + 50) << "Saturn " << describe(saturn);
    EXPECT_GT(mars.red, mars.blue + 30) << "Mars " << describe(mars);
}

} // namespace
