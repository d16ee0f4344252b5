// Every test program starts headless, whichever way it is run (ctest or by
// hand): no display, no sound card, and the build's own program folder.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("BELMORA_PROGRAM_DIR", BELMORA_TEST_PROGRAM_DIR, 0);
    setenv("BELMORA_SOURCE_DIR", BELMORA_TEST_SOURCE_DIR, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
