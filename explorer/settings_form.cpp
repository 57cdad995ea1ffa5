#include "settings_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <cmath>

#include "typed_flow.h"
#include "flow_point.h"
#include "parameter_check.h"
#include "picture_texts.h"
#include "research_rules.h"
#include "system_description.h"

namespace veltrano::explorer {

namespace {

constexpr int kMostIntervals = 1'000'000'000;

std::optional<double> decimal(const QLineEdit* field) {
    const std::u16string text = field->text().trimmed().toStdU16String();
    if (!controllo2(text)) return std::nullopt;
    const auto v = decimalValue(text);
    if (v && *v == 0) return 0.0;  // never -0
    return v;
}

QLineEdit* decimalField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setAccessibleName(name);
    field->setObjectName(name);
    return field;
}

QSpinBox* wholeField(const QString& name, int lo, int hi, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(lo, hi);
    spin->setAccessibleName(name);
    spin->setObjectName(name);
    spin->setGroupSeparatorShown(false);
    spin->setKeyboardTracking(false);  // a change once typed, not each digit
    return spin;
}

QString symbolOf(SweepParameter p) {
    return QString::fromStdString(pictures::symbolOf(p));
}

// The key of the flow a map is of: "" for Lorenz, "equations", a line
// break and the text for a typed flow.
constexpr std::string_view kTypedKey = "equations\n";
std::string keyOf(const MapSettings& s) {
    if (s.system && !s.system->equations.empty()) return std::string(kTypedKey) + s.system->equations;
    return s.system ? systemKey(*s.system) : std::string();
}

}  // namespace

SettingsForm::SettingsForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("settings"));
    auto* layout = new QVBoxLayout(this);

    auto* flow = new QGroupBox(tr("Flow"), this);
    auto* flowForm = new QFormLayout(flow);
    system_ = new QComboBox(this);
    system_->setObjectName(QStringLiteral("System"));
    system_->setAccessibleName(tr("System"));
    system_->setToolTip(tr("The flow mapped: Lorenz or another flow of the catalogue"));
    system_->addItem(QStringLiteral("Lorenz"), QString());
    for (const SystemDescription& d : allSystems()) {
        if (d.name == "lorenz") continue;
        system_->addItem(QString::fromStdString(d.title), QString::fromStdString(d.name));
        if (d.parameters.empty()) {
            // A map needs a parameter to vary.
            auto* item = qobject_cast<QStandardItemModel*>(system_->model())->item(system_->count() - 1);
            item->setEnabled(false);
            item->setToolTip(tr("%1 has no parameters: there is nothing to map").arg(item->text()));
        }
    }
    // Last, a flow of the user's own, typed in a dialog of its own.
    system_->addItem(tr("Your equations…"), QString::fromLatin1(SystemMap::kTypedName));
    dimension_ = wholeField(tr("Dimension"), 1, 1, this);
    dimension_->setToolTip(tr("d: the number of variables of the flow"));
    exponents_ = wholeField(tr("Exponents computed"), 1, 3, this);
    exponents_->setToolTip(tr("k: the k largest exponents are computed (all d by default)"));
    flowForm->addRow(tr("S&ystem"), system_);
    dimensionLabel_ = new QLabel(tr("&Dimension"), this);
    dimensionLabel_->setBuddy(dimension_);
    flowForm->addRow(dimensionLabel_, dimension_);
    exponentsLabel_ = new QLabel(tr("E&xponents"), this);
    exponentsLabel_->setBuddy(exponents_);
    flowForm->addRow(exponentsLabel_, exponents_);
    layout->addWidget(flow);

    auto* axes = new QGroupBox(tr("Axes"), this);
    auto* axesForm = new QFormLayout(axes);
    const auto parameterBox = [this](const QString& name) {
        auto* box = new QComboBox(this);
        for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B})
            box->addItem(symbolOf(p), static_cast<int>(p));
        box->setAccessibleName(name);
        box->setObjectName(name);
        return box;
    };
    xParameter_ = parameterBox(tr("Across"));
    yParameter_ = parameterBox(tr("Up"));
    xFrom_ = decimalField(tr("Across from"), this);
    xTo_ = decimalField(tr("Across to"), this);
    yFrom_ = decimalField(tr("Up from"), this);
    yTo_ = decimalField(tr("Up to"), this);
    columns_ = wholeField(tr("Columns"), 1, MapSettings::kMaxCells, this);
    rows_ = wholeField(tr("Rows"), 1, MapSettings::kMaxCells, this);
    const auto row = [this](std::initializer_list<QWidget*> ws) {
        auto* box = new QWidget(this);
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        for (QWidget* w : ws) h->addWidget(w);
        return box;
    };
    auto* toLabel1 = new QLabel(tr("to"), this);
    auto* toLabel2 = new QLabel(tr("to"), this);
    axesForm->addRow(tr("&Across"), xParameter_);
    axesForm->addRow(tr("from"), row({xFrom_, toLabel1, xTo_}));
    axesForm->addRow(tr("&Columns"), columns_);
    axesForm->addRow(tr("&Up"), yParameter_);
    axesForm->addRow(tr("from"), row({yFrom_, toLabel2, yTo_}));
    axesForm->addRow(tr("&Rows"), rows_);
    layout->addWidget(axes);

    auto* values = new QGroupBox(tr("Parameters"), this);
    auto* valuesColumn = new QVBoxLayout(values);
    valuesColumn->setContentsMargins(0, 0, 0, 0);
    lorenzValues_ = new QWidget(values);
    auto* valuesForm = new QFormLayout(lorenzValues_);
    for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B}) {
        auto*& field = base_[static_cast<std::size_t>(p)];
        field = decimalField(symbolOf(p), this);
        valuesForm->addRow(symbolOf(p), field);
    }
    systemValues_ = new QWidget(values);
    systemValuesForm_ = new QFormLayout(systemValues_);
    valuesColumn->addWidget(lorenzValues_);
    valuesColumn->addWidget(systemValues_);
    layout->addWidget(values);

    auto* run = new QGroupBox(tr("Run"), this);
    auto* runForm = new QFormLayout(run);
    n_ = wholeField(tr("n, measured intervals"), 1, kMostIntervals, this);
    transient_ = wholeField(tr("Transient intervals"), 0, kMostIntervals, this);
    for (std::size_t k = 0; k < 3; ++k)
        initial_[k] = decimalField(tr("Initial %1").arg(QLatin1Char("xyz"[k])), this);
    step_ = decimalField(tr("Step h"), this);
    stepsPerInterval_ = wholeField(tr("Steps per interval"), 1, kMostIntervals, this);
    errors_ = new QCheckBox(tr("Error bars (batch &means)"), this);
    errors_->setObjectName(QStringLiteral("Error bars"));
    errors_->setAccessibleName(tr("Error bars (batch means)"));
    batch_ = wholeField(tr("Batch length"), 1, kMostIntervals, this);
    targetError_ = decimalField(tr("Target error"), this);
    targetError_->setPlaceholderText(tr("none"));
    systemInitial_ = decimalField(tr("Initial point"), this);
    systemInitial_->setToolTip(tr("The d starting values, separated by commas"));
    runForm->addRow(tr("&n"), n_);
    runForm->addRow(tr("&Transient"), transient_);
    runForm->addRow(tr("&Initial point"), row({initial_[0], initial_[1], initial_[2], systemInitial_}));
    runForm->addRow(tr("Step &h"), step_);
    runForm->addRow(tr("Steps per interva&l"), stepsPerInterval_);
    runForm->addRow(errors_);
    runForm->addRow(tr("&Batch"), batch_);
    runForm->addRow(tr("Tar&get error"), targetError_);
    layout->addWidget(run);
    layout->addStretch(1);
    chainTabs();

    const auto report = [this] {
        if (!showing_) emit changed();
    };
    for (QLineEdit* e : {xFrom_, xTo_, yFrom_, yTo_, base_[0], base_[1], base_[2], initial_[0], initial_[1],
                         initial_[2], step_, targetError_, systemInitial_})
        connect(e, &QLineEdit::editingFinished, this, [this, e, report] {
            if (e->isModified()) {
                e->setModified(false);
                report();
            }
        });
    connect(system_, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) systemChosen();
    });
    // Choosing "Your equations…" again where the map is already of typed
    // equations opens the editor too (the choice from another flow opens it
    // in systemChosen(), which puts that flow back first).
    connect(system_, &QComboBox::activated, this, [this](int index) {
        if (system_->itemData(index).toString() == QLatin1String(SystemMap::kTypedName) &&
            index == system_->currentIndex())
            emit equationsWanted();
    });
    connect(dimension_, &QSpinBox::valueChanged, this, [this] {
        if (!showing_) systemChosen();
    });
    connect(exponents_, &QSpinBox::valueChanged, this, report);
    for (QSpinBox* s : {columns_, rows_, n_, transient_, stepsPerInterval_, batch_})
        connect(s, &QSpinBox::valueChanged, this, report);
    connect(errors_, &QCheckBox::toggled, this, [this, report] {
        batch_->setEnabled(errors_->isChecked());
        report();
    });
    connect(xParameter_, &QComboBox::currentIndexChanged, this, [this, report] {
        axesChosen(0);
        report();
    });
    connect(yParameter_, &QComboBox::currentIndexChanged, this, [this, report] {
        axesChosen(1);
        report();
    });
    show(MapSettings{});
}

QList<QWidget*> SettingsForm::focusOrder() const {
    QList<QWidget*> order{system_,     dimension_, exponents_, xParameter_, xFrom_,   xTo_,     columns_,
                          yParameter_, yFrom_,     yTo_,       rows_,       base_[0], base_[1], base_[2]};
    for (QLineEdit* field : systemBase_) order.append(field);
    order.append({n_, transient_, initial_[0], initial_[1], initial_[2], systemInitial_, step_, stepsPerInterval_,
                  errors_, batch_, targetError_});
    return order;
}

void SettingsForm::chainTabs() {
    // Tab follows the rows as they are read, top to bottom, left to right.
    const QList<QWidget*> order = focusOrder();
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

std::vector<QLineEdit*> SettingsForm::valueFields() const {
    if (!builtFor_.empty()) return systemBase_;
    return {base_.begin(), base_.end()};
}

void SettingsForm::buildFor(const MapSettings& s) {
    const std::string key = keyOf(s);
    const bool lorenz = !s.system;
    lorenzValues_->setVisible(lorenz);
    systemValues_->setVisible(!lorenz);
    for (QLineEdit* field : initial_) field->setVisible(lorenz);
    systemInitial_->setVisible(!lorenz);
    exponents_->setVisible(!lorenz);
    exponentsLabel_->setVisible(!lorenz);
    const SystemDescription flow = lorenz ? SystemDescription{} : descriptionOf(*s.system);
    dimension_->setVisible(flow.dimensionChoice.has_value());
    dimensionLabel_->setVisible(flow.dimensionChoice.has_value());
    if (key == builtFor_ && (lorenz || xParameter_->count() > 0)) return;
    builtFor_ = key;
    const QSignalBlocker blockX(xParameter_), blockY(yParameter_);
    xParameter_->clear();
    yParameter_->clear();
    while (systemValuesForm_->rowCount() > 0) systemValuesForm_->removeRow(0);
    systemBase_.clear();
    if (lorenz) {
        for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B}) {
            xParameter_->addItem(symbolOf(p), static_cast<int>(p));
            yParameter_->addItem(symbolOf(p), static_cast<int>(p));
        }
        return;
    }
    for (std::size_t i = 0; i < flow.parameters.size(); ++i) {
        const QString name = QString::fromStdString(flow.parameters[i].name);
        xParameter_->addItem(name, static_cast<int>(i));
        if (flow.parameters.size() > 1) yParameter_->addItem(name, static_cast<int>(i));
        QLineEdit* field = decimalField(name, systemValues_);
        connect(field, &QLineEdit::editingFinished, this, [this, field] {
            if (field->isModified()) {
                field->setModified(false);
                if (!showing_) emit changed();
            }
        });
        systemValuesForm_->addRow(name, field);
        systemBase_.push_back(field);
    }
    // A flow of one parameter has it across, in one row.
    if (flow.parameters.size() == 1) yParameter_->addItem(tr("none"), -1);
    chainTabs();
}

void SettingsForm::systemChosen() {
    const QString name = system_->currentData().toString();
    if (name == QLatin1String(SystemMap::kTypedName)) {
        // The flow stays what it is until the typed one is accepted.
        const bool was = showing_;
        showing_ = true;
        const std::string shown =
            builtFor_.starts_with(kTypedKey) ? SystemMap::kTypedName : builtFor_.substr(0, builtFor_.find(':'));
        system_->setCurrentIndex(std::max(0, system_->findData(QString::fromStdString(shown))));
        showing_ = was;
        // Here rather than on activated(): the combo box reports its current
        // entry, the one just put back, as the one chosen. Once that report is
        // done, so that a typed map the editor shows is not taken as chosen again.
        QMetaObject::invokeMethod(
            this, [this] { emit equationsWanted(); }, Qt::QueuedConnection);
        return;
    }
    RunSettings run = MapSettings::defaultRun();
    const auto current = read();  // of the flow the fields are for: its run carries over
    if (const auto* s = std::get_if<MapSettings>(&current)) run = s->run;
    run.initial = RunSettings{}.initial;
    std::optional<MapSettings> next;
    if (name.isEmpty()) {
        next = MapSettings{};
        next->x.count = columns_->value();
        next->y.count = rows_->value();
        next->run = run;
    } else {
        auto flow = findSystem(name.toStdString());
        if (flow && flow->dimensionChoice && builtFor_.rfind(flow->name, 0) == 0 && dimension_->isVisible())
            flow = findSystem(flow->name, static_cast<std::size_t>(dimension_->value()));
        if (flow)
            next = systemDefaults(*flow, columns_->value(), flow->parameters.size() > 1 ? rows_->value() : 1, run);
    }
    if (!next) return;
    show(*next);
    emit changed();
}

void SettingsForm::axesChosen(int which) {
    // The two axes are two different parameters: choosing the other axis's
    // parameter swaps the two (the fixed one stays fixed).
    QComboBox* chosen = which == 0 ? xParameter_ : yParameter_;
    QComboBox* other = which == 0 ? yParameter_ : xParameter_;
    const std::vector<QLineEdit*> fields = valueFields();
    const int count = static_cast<int>(fields.size());
    if (chosen->currentData().toInt() >= 0 && chosen->currentData() == other->currentData()) {
        int previous = -1;  // the parameter the chosen axis had: on an axis until now
        for (int i = 0; i < count; ++i)
            if (i != chosen->currentIndex() && !fields[static_cast<std::size_t>(i)]->isEnabled()) previous = i;
        if (previous < 0) previous = (chosen->currentIndex() + 1) % count;
        const bool was = showing_;
        showing_ = true;
        other->setCurrentIndex(previous);
        showing_ = was;
    }
    enableFixed();
}

void SettingsForm::enableFixed() {
    const std::vector<QLineEdit*> fields = valueFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->setEnabled(static_cast<int>(i) != xParameter_->currentData().toInt() &&
                              static_cast<int>(i) != yParameter_->currentData().toInt());
    // With no parameter up there is one row.
    const bool up = yParameter_->currentData().toInt() >= 0;
    for (QWidget* w : std::initializer_list<QWidget*>{rows_, yFrom_, yTo_}) w->setEnabled(up);
}

std::variant<SystemMap, QString> SettingsForm::readSystem() const {
    SystemMap m;
    std::optional<SystemDescription> found;
    if (builtFor_.starts_with(kTypedKey)) {
        m.name = SystemMap::kTypedName;
        m.equations = builtFor_.substr(kTypedKey.size());
        found = typedFlowDescription(m.equations);  // the text parsed when it was shown
    } else {
        const auto colon = builtFor_.find(':');
        m.name = builtFor_.substr(0, colon);
        found = colon == std::string::npos
                    ? findSystem(m.name)
                    : findSystem(m.name, static_cast<std::size_t>(std::stoul(builtFor_.substr(colon + 1))));
    }
    if (!found) return tr("Unknown system %1").arg(QString::fromStdString(builtFor_));
    const SystemDescription& flow = *found;
    m.dimension = flow.dimension;
    m.across = static_cast<std::size_t>(xParameter_->currentData().toInt());
    const int up = yParameter_->currentData().toInt();
    m.up = up >= 0 ? static_cast<std::size_t>(up) : SystemMap::kNoAxis;
    if (m.across == m.up) return tr("The two axes must be two different parameters");
    for (std::size_t i = 0; i < systemBase_.size(); ++i) {
        const QLineEdit* field = systemBase_[i];
        double v = 0;
        if (field->isEnabled() || !field->text().trimmed().isEmpty()) {
            const auto value = decimal(field);
            if (!value)
                return tr("%1: a decimal number is wanted (digits, at most one point, a leading minus)")
                    .arg(field->accessibleName());
            v = *value;
        }
        m.values.push_back(v);
    }
    const QStringList starts = systemInitial_->text().split(QLatin1Char(','));
    if (static_cast<std::size_t>(starts.size()) != flow.dimension)
        return tr("Initial point: %1 values are wanted, separated by commas (%2 given)")
            .arg(flow.dimension)
            .arg(systemInitial_->text().trimmed().isEmpty() ? 0 : starts.size());
    for (const QString& start : starts) {
        const std::u16string text = start.trimmed().toStdU16String();
        const auto v = controllo2(text) ? decimalValue(text) : std::nullopt;
        if (!v)
            return tr("Initial point: %1 is not a decimal number (digits, at most one point, a leading minus)")
                .arg(start.trimmed());
        m.initial.push_back(*v == 0 ? 0.0 : *v);
    }
    m.exponents = static_cast<std::size_t>(exponents_->value());
    return m;
}

std::variant<MapSettings, QString> SettingsForm::read() const {
    MapSettings s;
    if (!builtFor_.empty()) {
        auto system = readSystem();
        if (const auto* why = std::get_if<QString>(&system)) return *why;
        s.system = std::get<SystemMap>(std::move(system));
    }
    const auto need = [](const QLineEdit* field, double& into) -> std::optional<QString> {
        const auto v = decimal(field);
        if (!v)
            return tr("%1: a decimal number is wanted (digits, at most one point, a leading minus)")
                .arg(field->accessibleName());
        into = *v;
        return std::nullopt;
    };
    if (!s.system) {
        s.x.parameter = static_cast<SweepParameter>(xParameter_->currentData().toInt());
        s.y.parameter = static_cast<SweepParameter>(yParameter_->currentData().toInt());
        if (s.x.parameter == s.y.parameter) return tr("The two axes must be two different parameters");
    }
    for (const auto& [field, into] : {std::pair<const QLineEdit*, double*>{xFrom_, &s.x.from}, {xTo_, &s.x.to},
                                      {yFrom_, &s.y.from}, {yTo_, &s.y.to}})
        if (auto why = need(field, *into)) return *why;
    s.x.count = columns_->value();
    s.y.count = rows_->value();
    if (s.system && s.system->up == SystemMap::kNoAxis) s.y = {SweepParameter::R, 0.0, 0.0, 1};
    for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B}) {
        if (s.system) break;  // the flow's own values are read above
        double v = 0;
        const QLineEdit* field = base_[static_cast<std::size_t>(p)];
        if (!field->isEnabled() && field->text().trimmed().isEmpty()) {
            v = 0;  // on an axis: its value is the axis's
        } else if (auto why = need(field, v)) {
            return *why;
        }
        setValue(s.base, p, v);
    }
    // The research options by the rules every front end shares.
    ResearchValues values;
    values.transient = transient_->value();
    if (!s.system) {
        Triple initial{};
        for (std::size_t k = 0; k < 3; ++k)
            if (auto why = need(initial_[k], initial[k])) return *why;
        values.initial = initial;
    }
    double step = 0;
    if (auto why = need(step_, step)) return *why;
    values.step = step;
    values.stepsPerInterval = stepsPerInterval_->value();
    values.errors = errors_->isChecked();
    values.batch = batch_->value();
    if (!targetError_->text().trimmed().isEmpty()) {
        double target = 0;
        if (auto why = need(targetError_, target)) return *why;
        values.targetError = target;
    }
    const auto shown = [this](ResearchOption option) {
        switch (option) {
            case ResearchOption::Step:
                return step_->text().trimmed().toStdString();
            case ResearchOption::TargetError:
                return targetError_->text().trimmed().toStdString();
            case ResearchOption::Initial:
                return (initial_[0]->text() + ',' + initial_[1]->text() + ',' + initial_[2]->text()).toStdString();
            case ResearchOption::Transient:
                return std::to_string(transient_->value());
            case ResearchOption::StepsPerInterval:
                return std::to_string(stepsPerInterval_->value());
            case ResearchOption::Batch:
                return std::to_string(batch_->value());
            default:
                return std::string();
        }
    };
    // The rules are said of the window's fields, in the window's language
    // (the catalogue loaded names it).
    const TextLanguage language = tr("en", "the language of these texts: en or it") == QStringLiteral("it")
                                      ? TextLanguage::Italian
                                      : TextLanguage::English;
    const auto refused = [&](ResearchOption option) {
        const QWidget* control = nullptr;
        switch (option) {
            case ResearchOption::Step:
                control = step_;
                break;
            case ResearchOption::TargetError:
                control = targetError_;
                break;
            case ResearchOption::Transient:
                control = transient_;
                break;
            case ResearchOption::StepsPerInterval:
                control = stepsPerInterval_;
                break;
            case ResearchOption::Batch:
                control = batch_;
                break;
            default:
                break;
        }
        const QString field = control ? control->accessibleName() : tr("Initial point");
        return refusedField(option, field.toStdString(), shown(option), language);
    };
    auto run = checkedResearch(n_->value(), values, refused);
    if (const auto* why = std::get_if<std::string>(&run)) return QString::fromStdString(*why);
    s.run = std::get<RunSettings>(run);
    return s;
}

void SettingsForm::show(const MapSettings& s) {
    const bool was = showing_;
    showing_ = true;
    const auto text = [](double v) { return QString::fromStdString(exactText(v)); };
    system_->setCurrentIndex(std::max(0, system_->findData(QString::fromStdString(s.system ? s.system->name : ""))));
    buildFor(s);
    if (s.system) {
        const SystemMap& m = *s.system;
        const SystemDescription flow = descriptionOf(m);
        if (flow.dimensionChoice) {
            dimension_->setRange(static_cast<int>(flow.dimensionChoice->lowest),
                                 static_cast<int>(flow.dimensionChoice->highest));
            dimension_->setValue(static_cast<int>(m.dimension));
        }
        exponents_->setRange(1, static_cast<int>(m.dimension));
        exponents_->setValue(static_cast<int>(m.exponents));
        xParameter_->setCurrentIndex(xParameter_->findData(static_cast<int>(m.across)));
        yParameter_->setCurrentIndex(yParameter_->findData(m.up == SystemMap::kNoAxis ? -1 : static_cast<int>(m.up)));
        for (std::size_t i = 0; i < systemBase_.size() && i < m.values.size(); ++i)
            systemBase_[i]->setText(text(m.values[i]));
        QStringList starts;
        for (double v : m.initial) starts << text(v);
        systemInitial_->setText(starts.join(QStringLiteral(", ")));
    } else {
        xParameter_->setCurrentIndex(static_cast<int>(s.x.parameter));
        yParameter_->setCurrentIndex(static_cast<int>(s.y.parameter));
    }
    enableFixed();
    xFrom_->setText(text(s.x.from));
    xTo_->setText(text(s.x.to));
    yFrom_->setText(text(s.y.from));
    yTo_->setText(text(s.y.to));
    columns_->setValue(s.x.count);
    // A map of one row keeps the rows the next map of two axes will have.
    if (!s.system || s.system->up != SystemMap::kNoAxis) rows_->setValue(s.y.count);
    for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B})
        base_[static_cast<std::size_t>(p)]->setText(text(valueOf(s.base, p)));
    n_->setValue(static_cast<int>(std::min<std::int64_t>(s.run.intervals, kMostIntervals)));
    transient_->setValue(static_cast<int>(std::min<std::int64_t>(s.run.transient, kMostIntervals)));
    for (std::size_t k = 0; k < 3; ++k) initial_[k]->setText(text(s.run.initial[k]));
    step_->setText(text(s.run.step));
    stepsPerInterval_->setValue(static_cast<int>(std::min<std::int64_t>(s.run.stepsPerInterval, kMostIntervals)));
    errors_->setChecked(s.run.errors);
    batch_->setValue(static_cast<int>(std::min<std::int64_t>(s.run.batch, kMostIntervals)));
    batch_->setEnabled(s.run.errors);
    targetError_->setText(s.run.targetError > 0 ? text(s.run.targetError) : QString());
    showing_ = was;
}

}  // namespace veltrano::explorer
