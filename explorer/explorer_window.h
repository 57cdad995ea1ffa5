#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

#include "map_computation.h"
#include "map_image.h"
#include "map_settings.h"
#include "shown_quantity.h"
#include "view_history.h"

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QProgressBar;
class QProgressDialog;
class QPushButton;
class QScrollArea;

namespace veltrano::point_panel {
class PointPanel;
}

namespace veltrano::explorer {

class CsvExport;
class LegendWidget;
class MapWidget;
class SettingsForm;
struct CellPosition;

// The Explorer: a map of λ (or the Kaplan-Yorke dimension, λ1's half-width,
// the classes of the points) over two of σ, R and b, computed live on every
// core, zoomed, exported and turned into the command or the Python call
// that computes it.
class ExplorerWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        int threads = 0;          // 0: every hardware thread
        bool remember = true;     // read and write the last session (QSettings)
        bool askBeforeSaving = true;  // false: export to the path given, no dialog (tests)
    };

    // Opens at `start` if given, else at the last session's settings (or
    // the defaults).
    explicit ExplorerWindow(std::optional<MapSettings> start, Options options, QWidget* parent = nullptr);
    explicit ExplorerWindow(std::optional<MapSettings> start = std::nullopt, QWidget* parent = nullptr);
    ~ExplorerWindow() override;

    // The size the window opens at on a screen whose free area (without the
    // task bars, in the screen's logical pixels) is `available`: the room it
    // would like, never more than the screen leaves for it and its frame.
    [[nodiscard]] static QSize openingSize(QSize available);

    // Shows `s` in the controls and computes it (a new view).
    void showMap(const MapSettings& s);
    void setShown(Shown shown);
    [[nodiscard]] Shown shown() const { return shown_; }
    [[nodiscard]] MapComputation& computation() { return *computation_; }
    [[nodiscard]] const QImage& cells() const { return image_.image(); }
    [[nodiscard]] MapWidget* map() const { return map_; }
    [[nodiscard]] LegendWidget* legend() const { return legend_; }
    // The end of the colour scale the map is painted with (0: none yet).
    [[nodiscard]] double scaleEnd() const;

    // Starts writing the map's rows to `path` on a thread of its own, with a
    // progress dialog that can cancel it; csvExportEnded() tells how it
    // ended. Returns why nothing starts (the map is not complete, the file
    // cannot be written or another process is writing it, an export is
    // running), else the empty text.
    QString exportCsv(const QString& path);
    // Writes the picture; an empty text on success, else the message shown.
    QString exportPicture(const QString& path);
    // What "Copy as command" and "Copy as Python" put on the clipboard.
    [[nodiscard]] QString commandText() const;
    [[nodiscard]] QString pythonText() const;
    // Describes a cell: its parameters and value (the status bar, the
    // keyboard cursor's accessible description).
    [[nodiscard]] QString describe(CellPosition cell) const;

    // Opens the panel of one point beside the map (clicking a cell, Enter on
    // the keyboard cursor) and questions the cell's point with the map's run.
    void openPoint(CellPosition cell);
    [[nodiscard]] point_panel::PointPanel* pointPanel() const { return panel_; }

    // Maps the flow typed as `text` at its defaults (its first two
    // parameters across and up, over the ranges its description gives),
    // after compiling it. Returns why not (the text does not parse, has no
    // parameter or does not compile), the map shown staying as it was; else
    // the empty text.
    QString mapEquations(const QString& text);
    // Opens the editor of a typed flow with the last text typed, and maps
    // what it accepts.
    void editEquations();
    // The text the editor opens with.
    [[nodiscard]] const QString& equationsText() const { return equationsText_; }

signals:
    // Rows of the running export written so far, of `total`.
    void csvExportProgress(qint64 rows, qint64 total);
    // The export has ended: the empty text when the file is written, else
    // why not (failed or cancelled; the file is as it was).
    void csvExportEnded(const QString& message);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildActions();
    void settingsEdited();
    void start(const MapSettings& s, bool newView);
    void arrived(std::uint64_t generation, const QVector<WorkUnit>& units);
    void finished(std::uint64_t generation, bool complete);
    // Paints the whole map again with the scale's present end, a slice of
    // columns at a time so that the event loop never waits long.
    void recolour();
    void recolourSlice();
    void showProgress();
    void hovered(std::optional<CellPosition> cell);
    void zoom(CellPosition a, CellPosition b);
    void back();
    void forward();
    void resetView();
    void saveCsvAs();
    void csvExportFinished(const QString& error, bool cancelled);
    void endCsvExport();
    void savePictureAs();
    void copyCommand();
    void copyPython();
    void updateActions();
    void updateNotice();
    void report(const QString& message);
    // Compiles the typed flow of `s` (where it is one) for the map's lanes
    // before a map of it starts: the empty text, else why it cannot run.
    [[nodiscard]] QString compileTyped(const MapSettings& s) const;
    [[nodiscard]] QRgb colourOf(std::int64_t index) const;
    void remember() const;

    Options options_;
    std::unique_ptr<MapComputation> computation_;
    MapImage image_;
    ViewHistory history_;
    SweepGrid grid_;  // the points of the map shown
    Shown shown_ = Shown::Lambda1;
    double limit_ = 0;         // the largest |value| shown so far
    double paintedLimit_ = 0;  // the end of the scale the image is painted with
    int recolourNext_ = -1;    // the next column of a repaint in slices; -1: none
    std::vector<std::uint8_t> marks_;  // how each computed cell is drawn (pictures::PointMark)
    QTimer editPause_;       // settles a burst of edits into one start
    QTimer recolourPause_;

    SettingsForm* form_ = nullptr;
    MapWidget* map_ = nullptr;
    LegendWidget* legend_ = nullptr;
    QComboBox* shownBox_ = nullptr;
    QLabel* problem_ = nullptr;
    QLabel* notice_ = nullptr;
    QLabel* hover_ = nullptr;
    QLabel* speed_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* stop_ = nullptr;
    QAction* backAction_ = nullptr;
    QAction* forwardAction_ = nullptr;
    QAction* resetAction_ = nullptr;
    QAction* stopAction_ = nullptr;
    QAction* pictureAction_ = nullptr;
    QAction* csvAction_ = nullptr;
    QAction* commandAction_ = nullptr;
    QAction* pythonAction_ = nullptr;
    CsvExport* csvExport_ = nullptr;  // the running export of the rows
    QProgressDialog* csvProgress_ = nullptr;
    bool csvAsked_ = false;  // the export was asked for in the save dialog: its failure is shown in a box
    QDockWidget* panelDock_ = nullptr;
    QScrollArea* panelScroll_ = nullptr;
    point_panel::PointPanel* panel_ = nullptr;
    QString equationsText_;  // the last typed flow's text
};

}  // namespace veltrano::explorer
