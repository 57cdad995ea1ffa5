// The Explorer's map without its window: cells under the mouse and the
// ranges of a zoom, the passes that sharpen it, the image that shows the
// passes, the view history, the texts of the command and the Python call.

#include <QtTest>
#include <map>
#include <set>

#include "map_geometry.h"
#include "map_image.h"
#include "map_passes.h"
#include "map_settings.h"
#include "parameter_check.h"
#include "view_history.h"

using namespace veltrano;
using namespace veltrano::explorer;

Q_DECLARE_METATYPE(veltrano::explorer::CellPosition)

class ExplorerMapTest : public QObject {
    Q_OBJECT
private slots:
    void cellUnderAPoint_data();
    void cellUnderAPoint();
    void cellsCarryTheSweepsValues();
    void zoomKeepsTheResolutionAndNarrowsTheRanges_data();
    void zoomKeepsTheResolutionAndNarrowsTheRanges();
    void passesComputeEveryCellOnceCoarseFirst_data();
    void passesComputeEveryCellOnceCoarseFirst();
    void imageShowsTheFinestComputedCell();
    void historyGoesBackAndForwardLikeABrowser();
    void exactTextReadsBackAsTheSameDouble();
    void commandLineNamesEveryChoice_data();
    void commandLineNamesEveryChoice();
    void pythonCallNamesEveryChoice();
};

void ExplorerMapTest::cellUnderAPoint_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("inside");
    QTest::addColumn<CellPosition>("cell");
    // A 400 x 300 area.
    QTest::newRow("top left corner is the top row") << 0.0 << 0.0 << 4 << 3 << true << CellPosition{0, 2};
    QTest::newRow("bottom left is row 0") << 0.0 << 299.9 << 4 << 3 << true << CellPosition{0, 0};
    QTest::newRow("bottom right") << 399.9 << 299.9 << 4 << 3 << true << CellPosition{3, 0};
    QTest::newRow("a cell's edge belongs to the next") << 100.0 << 100.0 << 4 << 3 << true << CellPosition{1, 1};
    QTest::newRow("just before the edge") << 99.99 << 99.99 << 4 << 3 << true << CellPosition{0, 2};
    QTest::newRow("one cell a pixel apart") << 123.0 << 45.0 << 400 << 300 << true << CellPosition{123, 254};
    QTest::newRow("cells smaller than pixels") << 200.0 << 150.0 << 1000 << 1000 << true << CellPosition{500, 499};
    QTest::newRow("right edge is outside") << 400.0 << 10.0 << 4 << 3 << false << CellPosition{};
    QTest::newRow("above is outside") << 10.0 << -0.5 << 4 << 3 << false << CellPosition{};
    QTest::newRow("left is outside") << -1.0 << 10.0 << 4 << 3 << false << CellPosition{};
}

void ExplorerMapTest::cellUnderAPoint() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(bool, inside);
    QFETCH(CellPosition, cell);
    const auto got = cellAt(x, y, 400, 300, columns, rows);
    QCOMPARE(got.has_value(), inside);
    if (inside) {
        QCOMPARE(got->column, cell.column);
        QCOMPARE(got->row, cell.row);
    }
}

void ExplorerMapTest::cellsCarryTheSweepsValues() {
    MapSettings s;
    s.x = {SweepParameter::R, 0, 200, 301};
    s.y = {SweepParameter::B, 0.5, 8, 7};
    s.base = {10, 28, 2.6667};
    const SweepGrid grid = gridOf(s);
    for (const CellPosition c : {CellPosition{0, 0}, CellPosition{300, 6}, CellPosition{17, 3}, CellPosition{150, 0}}) {
        const FlowParameters p = cellParameters(s, c);
        const FlowParameters q = grid.pointAt(indexOf(s, c.column, c.row));
        QCOMPARE(p.sv, 10.0);  // the fixed one
        QCOMPARE(p.rv, q.rv);
        QCOMPARE(p.bv, q.bv);
    }
    QCOMPARE(cellParameters(s, {300, 6}).rv, 200.0);
    QCOMPARE(cellParameters(s, {300, 6}).bv, 8.0);
}

void ExplorerMapTest::zoomKeepsTheResolutionAndNarrowsTheRanges_data() {
    QTest::addColumn<CellPosition>("a");
    QTest::addColumn<CellPosition>("b");
    QTest::addColumn<double>("xFrom");
    QTest::addColumn<double>("xTo");
    QTest::addColumn<double>("yFrom");
    QTest::addColumn<double>("yTo");
    // σ 0-40 over 401 cells (0.1 apart), R 0-200 over 201 (1 apart).
    QTest::newRow("dragged down and right") << CellPosition{100, 150} << CellPosition{200, 50} << 10.0 << 20.0 << 50.0
                                            << 150.0;
    QTest::newRow("dragged up and left") << CellPosition{200, 50} << CellPosition{100, 150} << 10.0 << 20.0 << 50.0
                                         << 150.0;
    QTest::newRow("two cells a side") << CellPosition{0, 0} << CellPosition{1, 1} << 0.0 << 0.1 << 0.0 << 1.0;
    QTest::newRow("the whole map") << CellPosition{0, 0} << CellPosition{400, 200} << 0.0 << 40.0 << 0.0 << 200.0;
}

void ExplorerMapTest::zoomKeepsTheResolutionAndNarrowsTheRanges() {
    QFETCH(CellPosition, a);
    QFETCH(CellPosition, b);
    MapSettings s;
    s.x = {SweepParameter::Sigma, 0, 40, 401};
    s.y = {SweepParameter::R, 0, 200, 201};
    const auto z = zoomedTo(s, a, b);
    QVERIFY(z);
    QCOMPARE(z->x.count, 401);
    QCOMPARE(z->y.count, 201);
    QCOMPARE(z->x.parameter, SweepParameter::Sigma);
    QCOMPARE(z->run.intervals, s.run.intervals);
    QTEST(z->x.from, "xFrom");
    QTEST(z->x.to, "xTo");
    QTEST(z->y.from, "yFrom");
    QTEST(z->y.to, "yTo");
}

void ExplorerMapTest::passesComputeEveryCellOnceCoarseFirst_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("unitSize");
    QTest::newRow("one cell") << 1 << 1 << 32;
    QTest::newRow("smaller than a stride") << 7 << 5 << 4;
    QTest::newRow("exactly a stride") << 8 << 8 << 32;
    QTest::newRow("odd sizes") << 9 << 17 << 3;
    QTest::newRow("a tall column") << 1 << 1000 << 32;
    QTest::newRow("400 x 300") << 400 << 300 << 32;
}

void ExplorerMapTest::passesComputeEveryCellOnceCoarseFirst() {
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(int, unitSize);
    std::vector<int> seen(static_cast<std::size_t>(columns * rows), 0);
    int lastPass = 0;
    for (const WorkUnit& u : workUnits(columns, rows, unitSize)) {
        QVERIFY(u.pass >= lastPass);  // a pass's units before the next's
        lastPass = u.pass;
        QVERIFY(u.count >= 1 && u.count <= unitSize);
        for (int k = 0; k < u.count; ++k) {
            const int r = u.firstRow + k * u.rowStep;
            QVERIFY(r >= 0 && r < rows && u.column >= 0 && u.column < columns);
            QCOMPARE(strideOf(u.column, r), kPassStrides[u.pass]);
            ++seen[static_cast<std::size_t>(u.column * rows + r)];
        }
    }
    QVERIFY(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
    // The first pass is a 64th of the map, give or take its edges.
    const auto units = workUnits(columns, rows, unitSize);
    int first = 0;
    for (const WorkUnit& u : units) first += u.pass == 0 ? u.count : 0;
    QCOMPARE(first, ((columns + 7) / 8) * ((rows + 7) / 8));
}

void ExplorerMapTest::imageShowsTheFinestComputedCell() {
    const int columns = 16, rows = 16;
    std::vector<bool> done(columns * rows, false);
    MapImage image;
    image.reset(columns, rows, qRgb(1, 1, 1));
    const auto isDone = [&](std::int64_t i) { return static_cast<bool>(done[static_cast<std::size_t>(i)]); };
    const auto colour = [](std::int64_t i) { return qRgb(static_cast<int>(i % 256), static_cast<int>(i / 256), 7); };
    const auto pixel = [&](int c, int r) { return image.image().pixel(c, rows - 1 - r); };
    const auto units = workUnits(columns, rows, 100);
    // Pass 1: cells (0,0), (0,8), (8,0), (8,8) stand for 8 x 8 blocks.
    for (const WorkUnit& u : units)
        if (u.pass == 0) {
            for (int k = 0; k < u.count; ++k) done[static_cast<std::size_t>(u.column * rows + u.firstRow + k * u.rowStep)] = true;
        }
    for (const WorkUnit& u : units)
        if (u.pass == 0) image.paintUnit(u, isDone, colour);
    QCOMPARE(pixel(7, 7), colour(0));
    QCOMPARE(pixel(9, 3), colour(8 * rows));
    QCOMPARE(pixel(15, 15), colour(8 * rows + 8));
    // The cell (4, 4) of the second pass takes over its 4 x 4 block only.
    done[4 * rows + 4] = true;
    image.paintUnit({1, 4, 4, 8, 1}, isDone, colour);
    QCOMPARE(pixel(4, 4), colour(4 * rows + 4));
    QCOMPARE(pixel(7, 7), colour(4 * rows + 4));
    QCOMPARE(pixel(3, 3), colour(0));
    QCOMPARE(pixel(8, 4), colour(8 * rows));
    // A coarse cell painted again (its colour changed) leaves finer ones be.
    image.paintUnit({0, 0, 0, 8, 1}, isDone, colour);
    QCOMPARE(pixel(5, 6), colour(4 * rows + 4));
    // Painting everything again gives the same picture.
    const QImage before = image.image().copy();
    image.paintAll(isDone, colour);
    QCOMPARE(image.image(), before);
    QCOMPARE(image.shownCell(6, 5, isDone), std::int64_t{4 * rows + 4});
    QCOMPARE(image.shownCell(2, 9, isDone), std::int64_t{8});
}

void ExplorerMapTest::historyGoesBackAndForwardLikeABrowser() {
    MapSettings a, b, c, d;
    b.x.to = 20;
    c.x.to = 10;
    d.y.to = 50;
    ViewHistory h;
    QVERIFY(!h.canGoBack() && !h.canGoForward());
    h.show(a);
    h.show(b);
    h.show(b);  // the same view again is no new step
    h.show(c);
    QCOMPARE(h.size(), std::size_t{3});
    QVERIFY(h.back() == b);
    QVERIFY(h.back() == a);
    QVERIFY(!h.back());
    QVERIFY(h.forward() == b);
    h.show(d);  // drops c
    QVERIFY(!h.canGoForward());
    QVERIFY(h.back() == b);
    QVERIFY(h.forward() == d);
    QVERIFY(!h.forward());
}

void ExplorerMapTest::exactTextReadsBackAsTheSameDouble() {
    for (double v : {0.0, 0.1, 2.6667, 8.0 / 3.0, -13.25, 1e-7, 123456789.123, 5e-324, 1.7976931348623157e308,
                     -2.2250738585072014e-308, 40.000000000000007}) {
        const std::string text = exactText(v);
        QVERIFY2(text.find_first_of("eE") == std::string::npos, text.c_str());
        const std::u16string wide(text.begin(), text.end());
        QVERIFY2(controllo2(wide), text.c_str());
        const auto back = decimalValue(wide);
        QVERIFY(back);
        QCOMPARE(*back, v);
    }
    QCOMPARE(exactText(-0.0), std::string("0"));
}

void ExplorerMapTest::commandLineNamesEveryChoice_data() {
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("expected");
    QTest::newRow("defaults") << 0
                              << "veltrano-cli sweep 1000 10 28 2.6667 --vary sigma=0:40:400 --vary R=0:200:300 "
                                 "--errors --batch 100";
    QTest::newRow("bars off, b up, negative range")
        << 1 << "veltrano-cli sweep 1000 10 28 2.6667 --vary b=-1.5:8:40 --vary sigma=0:40:30";
    QTest::newRow("every research option")
        << 2
        << "veltrano-cli sweep 250 12.5 28 2.6667 --vary sigma=0:40:400 --vary R=0:200:300 --transient 7 "
           "--initial 0.5,-1,20 --step 0.005 --steps-per-interval 10 --target-error 0.01 --batch 25";
}

void ExplorerMapTest::commandLineNamesEveryChoice() {
    QFETCH(int, variant);
    MapSettings s;
    if (variant == 1) {
        s.x = {SweepParameter::B, -1.5, 8, 40};
        s.y = {SweepParameter::Sigma, 0, 40, 30};
        s.run.errors = false;
    } else if (variant == 2) {
        s.base.sv = 12.5;
        s.run.intervals = 250;
        s.run.transient = 7;
        s.run.initial = {0.5, -1, 20};
        s.run.step = 0.005;
        s.run.stepsPerInterval = 10;
        s.run.targetError = 0.01;
        s.run.batch = 25;
    }
    QTEST(QString::fromStdString(commandLine(s)), "expected");
}

void ExplorerMapTest::pythonCallNamesEveryChoice() {
    MapSettings s;
    s.x = {SweepParameter::R, 0, 200, 201};
    s.y = {SweepParameter::Sigma, 40, 0.5, 7};
    s.base.bv = 3.5;
    QCOMPARE(QString::fromStdString(pythonCall(s)),
             QStringLiteral("import veltrano\n\nmap = veltrano.sweep(1000, veltrano.spaced(40.0, 0.5, 7), "
                            "veltrano.spaced(0.0, 200.0, 201), 3.5, errors=True, batch=100)\n"));
    s.run.errors = false;
    s.run.transient = 5;
    s.run.initial = {0.5, -1, 2};
    s.run.step = 0.005;
    s.run.stepsPerInterval = 10;
    QVERIFY(QString::fromStdString(pythonCall(s))
                .endsWith(QStringLiteral("3.5, transient=5, initial=(0.5, -1.0, 2.0), step=0.005, "
                                         "steps_per_interval=10)\n")));
    s.run.targetError = 1e-3;
    s.run.errors = true;
    QVERIFY(QString::fromStdString(pythonCall(s)).endsWith(QStringLiteral(", target_error=0.001, batch=100)\n")));
}

std::unique_ptr<QObject> makeExplorerMapTest() { return std::make_unique<ExplorerMapTest>(); }
#include "explorer_map_test.moc"
