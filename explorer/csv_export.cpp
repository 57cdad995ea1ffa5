#include "csv_export.h"

#include "map_export.h"

namespace veltrano::explorer {

CsvExport::CsvExport(const MapSettings& settings, std::shared_ptr<const std::vector<PointResult>> results,
                     ReplacementFile file, QObject* parent, std::shared_ptr<const SystemCells> system)
    : QObject(parent),
      path_(QString::fromStdString(file.path())),
      settings_(settings),
      results_(std::move(results)),
      system_(std::move(system)),
      file_(std::move(file)),
      thread_([this] { write(); }) {}

CsvExport::~CsvExport() {
    cancel();
    if (thread_.joinable()) thread_.join();
    // An export that has not concluded leaves the file as it was.
    if (!concluded_) file_.discard();
}

void CsvExport::cancel() {
    cancel_.store(true, std::memory_order_relaxed);
}

void CsvExport::write() {
    // A report after every block, posted only when the last one has been
    // taken, so that a busy window never has them queue up.
    const auto report = [this] {
        if (reportWaiting_.exchange(true)) return;
        QMetaObject::invokeMethod(
            this,
            [this] {
                reportWaiting_.store(false);
                emit progress(written_.load(), static_cast<qint64>(results_->size()));
            },
            Qt::QueuedConnection);
    };
    const auto goOn = [&](std::int64_t rows) {
        written_.store(rows);
        report();
        return !cancel_.load();
    };
    std::string error = system_ ? writeSystemRows(settings_, *results_, *system_, file_.stream(), goOn)
                                : writeRows(settings_, *results_, file_.stream(), goOn);
    if (error.empty() && !cancel_.load()) error = file_.finish();
    QMetaObject::invokeMethod(
        this, [this, why = QString::fromStdString(error)] { conclude(why); }, Qt::QueuedConnection);
}

void CsvExport::conclude(const QString& why) {
    if (thread_.joinable()) thread_.join();
    concluded_ = true;
    if (cancel_.load()) {
        file_.discard();
        emit ended({}, true);
        return;
    }
    QString error = why.isEmpty() ? QString() : cannotWrite(path_, why);
    if (error.isEmpty())
        if (const std::string refused = file_.publish(); !refused.empty())
            error = cannotWrite(path_, QString::fromStdString(refused));
    if (!error.isEmpty()) file_.discard();
    emit ended(error, false);
}

}  // namespace veltrano::explorer
