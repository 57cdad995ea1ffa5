#pragma once

#include <QWidget>
#include <array>
#include <variant>

#include "map_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace veltrano::explorer {

// The controls that choose a map: the two axes with their ranges and
// resolution, the values of σ, R and b, n and the research options. Texts
// are read as the command line reads them, to the same doubles.
class SettingsForm : public QWidget {
    Q_OBJECT
public:
    explicit SettingsForm(QWidget* parent = nullptr);

    // The settings the controls hold, or what is wrong with them.
    [[nodiscard]] std::variant<MapSettings, QString> read() const;
    // Shows `s` in the controls without reporting a change.
    void show(const MapSettings& s);
    // The controls in reading order, the order Tab visits them.
    [[nodiscard]] QList<QWidget*> focusOrder() const;

signals:
    void changed();

private:
    void axesChosen(int which);
    void enableFixed();

    QComboBox* xParameter_;
    QComboBox* yParameter_;
    QLineEdit* xFrom_;
    QLineEdit* xTo_;
    QLineEdit* yFrom_;
    QLineEdit* yTo_;
    QSpinBox* columns_;
    QSpinBox* rows_;
    std::array<QLineEdit*, 3> base_{};  // σ, R, b
    QSpinBox* n_;
    QSpinBox* transient_;
    std::array<QLineEdit*, 3> initial_{};
    QLineEdit* step_;
    QSpinBox* stepsPerInterval_;
    QCheckBox* errors_;
    QSpinBox* batch_;
    QLineEdit* targetError_;
    bool showing_ = false;
};

}  // namespace veltrano::explorer
