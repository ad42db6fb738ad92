// GoogleTest with one application object for the whole run, headless unless told otherwise.
#include <gtest/gtest.h>

#include "kcs/ui/ErrorGuard.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    kcs::ui::GuardedApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
