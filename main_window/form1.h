#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "clock.h"
#include "exponents.h"
#include "message_box.h"
#include "parameters.h"

class EntryField;
class ImageControl;
class QLabel;
class QPushButton;

namespace veltrano {

class ResultLabels;

// The main window: the four entries, "CALCOLA", the results and the picture
// button that opens the About window. Controls carry their names as
// objectName (Text1, Command1, Label12, ...).
class Form1 : public QWidget {
    Q_OBJECT
public:
    // Opens the About window modally over `parent` and returns once it closes.
    using AboutOpener = std::function<void(QWidget* parent)>;

    // Opens the Explorer at the entries' n, sigma, R and b, or at its own
    // defaults (nullopt) when the entries do not pass their checks.
    using ExplorerOpener = std::function<void(const std::optional<Parameters>& entries)>;

    explicit Form1(MessageBoxFn messages = showMessageBox, AboutOpener openAbout = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // Ctrl+E opens the Explorer through `open`; the window itself is unchanged.
    void setExplorerOpener(ExplorerOpener open);

private slots:
    void Command1_Click();
    void Command2_Click();
    void Image1_MouseDown();
    void Image1_MouseMove();
    void openExplorer();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;  // Form_MouseMove
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Reports a refused entry and hands it back to the user, "?" selected.
    void failEntry(EntryField* field, const QString& message);

    MessageBoxFn messages_;
    AboutOpener openAbout_;
    ExplorerOpener openExplorer_;
    Spectrum spectrum_;  // the working data of the computation, kept between runs
    SteadyClock clock_;
    std::unique_ptr<ResultLabels> results_;

    EntryField* Text1 = nullptr;
    EntryField* Text2 = nullptr;
    EntryField* Text3 = nullptr;
    EntryField* Text4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label12 = nullptr;
    ImageControl* Image1 = nullptr;
    ImageControl* Image2 = nullptr;
    ImageControl* Image3 = nullptr;
    ImageControl* Image4 = nullptr;
};

}  // namespace veltrano
