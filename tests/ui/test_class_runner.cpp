#include "test_class_runner.h"

#include <QApplication>
#include <QByteArray>
#include <QTest>
#include <cstdio>
#include <cstring>

// The main of every test program: `[--ratio R] [--class NAME] [Qt Test
// options]`. --ratio starts the application on a screen at R (default 1) and
// runs the classes written for it; --class runs only that class (at any
// ratio), and the remaining options then go to it alone (test functions, for
// one). Returns 0 only if every class that ran passed.
int main(int argc, char** argv) {
    const std::vector<TestClass>& classes = testClasses();
    QByteArray ratio = "1";
    const char* only = nullptr;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const bool isRatio = std::strcmp(argv[i], "--ratio") == 0;
        if (!isRatio && std::strcmp(argv[i], "--class") != 0) {
            rest.push_back(argv[i]);
            continue;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            std::fprintf(stderr, "%s: %s needs a value\n", argv[0], argv[i]);
            return 2;
        }
        if (isRatio)
            ratio = argv[++i];
        else
            only = argv[++i];
    }
    bool ratioOk = false;
    const double scale = ratio.toDouble(&ratioOk);
    if (!ratioOk || !(scale > 0)) {
        std::fprintf(stderr, "%s: --ratio %s is not a positive number\n", argv[0], ratio.constData());
        return 2;
    }
    std::vector<const TestClass*> chosen;
    for (const TestClass& c : classes)
        if (only ? std::strcmp(c.name, only) == 0 : c.ratio == scale) chosen.push_back(&c);
    if (chosen.empty()) {
        if (only)
            std::fprintf(stderr, "%s: no test class %s\n", argv[0], only);
        else
            std::fprintf(stderr, "%s: no test class is written for --ratio %s\n", argv[0], ratio.constData());
        return 2;
    }
    // Function names and other options only make sense for one class.
    if (!only && rest.size() > 1) {
        std::fprintf(stderr, "%s: give --class with %s\n", argv[0], rest[1]);
        return 2;
    }

    if (scale != 1) qputenv("QT_SCALE_FACTOR", ratio);
    int appArgc = 1;
    QApplication app(appArgc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int failures = 0;
    for (const TestClass* c : chosen) {
        const std::unique_ptr<QObject> test = c->make();
        const int failed = QTest::qExec(test.get(), int(rest.size()), rest.data());
        if (failed != 0) failures += failed > 0 ? failed : 1;
    }
    return failures > 127 ? 127 : failures;
}
