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

// The main of a test program: `[--ratio R] [--class NAME] [Qt Test options]`.
// --ratio starts the application on a screen at R (default 1) and runs the
// classes written for it; --class runs only that class (at any ratio), and
// the remaining options then go to it alone (test functions, for one).
// Returns 0 only if every class that ran passed.
int runTestClasses(int argc, char** argv, const std::vector<TestClass>& classes);
