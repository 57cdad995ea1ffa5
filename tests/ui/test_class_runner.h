#pragma once

#include <QObject>
#include <memory>
#include <vector>

// One Qt Test class of a test program, and the screen scale it is written
// for: the program runs every class of the scale it is started at.
struct TestClass {
    const char* name;
    double ratio;
    std::unique_ptr<QObject> (*make)();
};

// The classes of the program, in the order of their files on the link line.
inline std::vector<TestClass>& testClasses() {
    static std::vector<TestClass> classes;
    return classes;
}

#define VELTRANO_TEST_CLASS(Class, ratio)                  \
    [[maybe_unused]] static const bool registered##Class = \
        (testClasses().push_back({#Class, ratio, [] { return std::unique_ptr<QObject>(new Class); }}), true)
