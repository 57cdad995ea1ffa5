#pragma once

#include <QWidget>
#include <array>
#include <variant>
#include <vector>

#include "map_settings.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace veltrano::explorer {

// The controls that choose a map: the flow (Lorenz or another of the
// catalogue, with its dimension where it is chosen and the number of
// exponents), the two axes with their ranges and resolution, the values of
// the parameters (σ, R and b for Lorenz), n and the research options. Texts
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
    // The user chose "Your equations…": the flow shown stays until the
    // window shows a typed one.
    void equationsWanted();

private:
    void axesChosen(int which);
    void enableFixed();
    // The user chose another flow or dimension: its map at its defaults,
    // the run and the counts of cells kept.
    void systemChosen();
    // The controls of the flow `s` maps (Lorenz's, or one field a parameter).
    void buildFor(const MapSettings& s);
    // Links the controls in focusOrder() for Tab (again once a flow's own fields are made).
    void chainTabs();
    [[nodiscard]] std::vector<QLineEdit*> valueFields() const;
    [[nodiscard]] std::variant<SystemMap, QString> readSystem() const;

    QComboBox* system_;
    QSpinBox* dimension_;
    QLabel* dimensionLabel_;
    QSpinBox* exponents_;
    QLabel* exponentsLabel_;
    QComboBox* xParameter_;
    QComboBox* yParameter_;
    QLineEdit* xFrom_;
    QLineEdit* xTo_;
    QLineEdit* yFrom_;
    QLineEdit* yTo_;
    QSpinBox* columns_;
    QSpinBox* rows_;
    std::array<QLineEdit*, 3> base_{};  // σ, R, b
    QWidget* lorenzValues_;
    QWidget* systemValues_;
    QFormLayout* systemValuesForm_;
    std::vector<QLineEdit*> systemBase_;  // a flow of the catalogue's parameters
    QLineEdit* systemInitial_;            // its d starting values, separated by commas
    std::string builtFor_;                // the flow the fields are for: "" for Lorenz, else its key
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
