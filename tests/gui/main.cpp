// The one entry point of the window tests: a QApplication on the offscreen platform, and modal
// questions answered by the tests instead of a person.
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/ModalSeam.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    ModalSeam::SetScripted(true);
    return RUN_ALL_TESTS();
}
