// Test main for window tests. Listing the tests must not need a display, so the
// application object is created only when the tests are run.
#include <gtest/gtest.h>
#include <QApplication>
#include <cstring>
#include <memory>

#include "ui/app/BackgroundWork.h"

int main(int argc, char** argv) {
    bool listingOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            listingOnly = true;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QApplication> application;
    if (!listingOnly) {
        application = std::make_unique<QApplication>(argc, argv);
    }
    // Tests script one action after another and look at each outcome at once; those about
    // work off the window's thread ask for it.
    BackgroundWork::SetDefaultMode(BackgroundWork::Mode::Inline);
    return RUN_ALL_TESTS();
}
