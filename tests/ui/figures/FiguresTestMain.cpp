// Listing the tests must not need a display: the application object is created only when
// the tests are run.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    bool listingOnly = false;
    for (int i = 1; i < argc; ++i) {
        listingOnly = listingOnly || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QApplication> application;
    if (!listingOnly) {
        application = std::make_unique<QApplication>(argc, argv);
    }
    return RUN_ALL_TESTS();
}
