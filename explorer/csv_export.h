#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "map_computation.h"
#include "map_settings.h"
#include "output_file.h"

namespace veltrano::explorer {

// The rows of a complete map written to a file on a thread of their own, so
// that the window goes on while a large map is written: beside the file,
// locked throughout, and put in its place only once whole and not
// cancelled. The results are shared with the computation and stay alive
// while the rows are written, whatever the window computes meanwhile.
class CsvExport : public QObject {
    Q_OBJECT
public:
    // Starts writing at once.
    // `system`: the rest of the cells of a map of a flow of the catalogue
    // (null for Lorenz), written in the sweep file form of a system.
    CsvExport(const MapSettings& settings, std::shared_ptr<const std::vector<PointResult>> results,
              ReplacementFile file, QObject* parent = nullptr, std::shared_ptr<const SystemCells> system = {});
    // Cancels and waits for the thread (within a block of rows); the file
    // is then as it was.
    ~CsvExport() override;
    CsvExport(const CsvExport&) = delete;
    CsvExport& operator=(const CsvExport&) = delete;

    // Asks the writing to end; ended() follows, and the file stays as it was
    // (also when the rows were all written but not yet put in place).
    void cancel();
    [[nodiscard]] const QString& path() const { return path_; }

signals:
    // Rows written so far, of `total` (at most one report waits at a time).
    void progress(qint64 rows, qint64 total);
    // The end: `error` empty when the file is in place; else why not (the
    // file is as it was). `cancelled` when cancel() ended it.
    void ended(const QString& error, bool cancelled);

private:
    void write();
    void conclude(const QString& error);

    const QString path_;
    const MapSettings settings_;
    const std::shared_ptr<const std::vector<PointResult>> results_;
    const std::shared_ptr<const SystemCells> system_;
    ReplacementFile file_;
    std::atomic<bool> cancel_{false};
    std::atomic<std::int64_t> written_{0};
    std::atomic<bool> reportWaiting_{false};
    bool concluded_ = false;
    std::thread thread_;  // last: started once everything above exists
};

}  // namespace veltrano::explorer
