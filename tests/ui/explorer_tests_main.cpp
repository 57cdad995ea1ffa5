// The Explorer's windows and what they are made of: the map's parts, the
// drawing library, the panel of one point and its parts, and the window.

#include "test_class_runner.h"

std::unique_ptr<QObject> makeExplorerMapTest();
std::unique_ptr<QObject> makeDrawingTest();
std::unique_ptr<QObject> makePointPanelPartsTest();
std::unique_ptr<QObject> makePointPanelTest();
std::unique_ptr<QObject> makeExplorerWindowTest();

int main(int argc, char** argv) {
    return runTestClasses(argc, argv,
                          {{"ExplorerMapTest", 1, makeExplorerMapTest},
                           {"DrawingTest", 1, makeDrawingTest},
                           {"PointPanelPartsTest", 1, makePointPanelPartsTest},
                           {"PointPanelTest", 1, makePointPanelTest},
                           {"ExplorerWindowTest", 1, makeExplorerWindowTest}});
}
