// The calculator's windows: the main window and the About window, and both
// on a screen at 200 % (run with --ratio 2).

#include "test_class_runner.h"

std::unique_ptr<QObject> makeForm1Test();
std::unique_ptr<QObject> makeForm2Test();
std::unique_ptr<QObject> makeHiDpiTest();

int main(int argc, char** argv) {
    return runTestClasses(argc, argv,
                          {{"Form1Test", 1, makeForm1Test}, {"Form2Test", 1, makeForm2Test}, {"HiDpiTest", 2, makeHiDpiTest}});
}
