#include "settings_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "picture_texts.h"

#include "parameter_check.h"
#include "research_rules.h"

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

}  // namespace

SettingsForm::SettingsForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("settings"));
    auto* layout = new QVBoxLayout(this);

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
    auto* valuesForm = new QFormLayout(values);
    for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B}) {
        auto*& field = base_[static_cast<std::size_t>(p)];
        field = decimalField(symbolOf(p), this);
        valuesForm->addRow(symbolOf(p), field);
    }
    layout->addWidget(values);

    auto* run = new QGroupBox(tr("Run"), this);
    auto* runForm = new QFormLayout(run);
    n_ = wholeField(tr("n, measured intervals"), 1, kMostIntervals, this);
    transient_ = wholeField(tr("Transient intervals"), 0, kMostIntervals, this);
    for (std::size_t k = 0; k < 3; ++k)
        initial_[k] = decimalField(tr("Initial %1").arg(QLatin1Char("xyz"[k])), this);
    step_ = decimalField(tr("Step h"), this);
    stepsPerInterval_ = wholeField(tr("Steps per interval"), 1, kMostIntervals, this);
    errors_ = new QCheckBox(tr("&Error bars (batch means)"), this);
    errors_->setObjectName(QStringLiteral("Error bars"));
    errors_->setAccessibleName(tr("Error bars (batch means)"));
    batch_ = wholeField(tr("Batch length"), 1, kMostIntervals, this);
    targetError_ = decimalField(tr("Target error"), this);
    targetError_->setPlaceholderText(tr("none"));
    runForm->addRow(tr("&n"), n_);
    runForm->addRow(tr("&Transient"), transient_);
    runForm->addRow(tr("&Initial point"), row({initial_[0], initial_[1], initial_[2]}));
    runForm->addRow(tr("Ste&p h"), step_);
    runForm->addRow(tr("Steps per &interval"), stepsPerInterval_);
    runForm->addRow(errors_);
    runForm->addRow(tr("&Batch"), batch_);
    runForm->addRow(tr("Tar&get error"), targetError_);
    layout->addWidget(run);
    layout->addStretch(1);
    // Tab follows the rows as they are read, top to bottom, left to right.
    const QList<QWidget*> order = focusOrder();
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    const auto report = [this] {
        if (!showing_) emit changed();
    };
    for (QLineEdit* e : {xFrom_, xTo_, yFrom_, yTo_, base_[0], base_[1], base_[2], initial_[0], initial_[1],
                         initial_[2], step_, targetError_})
        connect(e, &QLineEdit::editingFinished, this, [this, e, report] {
            if (e->isModified()) {
                e->setModified(false);
                report();
            }
        });
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
    return {xParameter_, xFrom_,      xTo_,     columns_,          yParameter_, yFrom_,     yTo_,
            rows_,       base_[0],    base_[1], base_[2],          n_,          transient_, initial_[0],
            initial_[1], initial_[2], step_,    stepsPerInterval_, errors_,     batch_,     targetError_};
}

void SettingsForm::axesChosen(int which) {
    // The two axes are two different parameters: choosing the other axis's
    // parameter swaps the two (the fixed one stays fixed).
    QComboBox* chosen = which == 0 ? xParameter_ : yParameter_;
    QComboBox* other = which == 0 ? yParameter_ : xParameter_;
    if (chosen->currentIndex() == other->currentIndex()) {
        int previous = -1;  // the parameter the chosen axis had: on an axis until now
        for (int i = 0; i < 3; ++i)
            if (i != chosen->currentIndex() && !base_[static_cast<std::size_t>(i)]->isEnabled()) previous = i;
        if (previous < 0) previous = (chosen->currentIndex() + 1) % 3;
        const bool was = showing_;
        showing_ = true;
        other->setCurrentIndex(previous);
        showing_ = was;
    }
    enableFixed();
}

void SettingsForm::enableFixed() {
    for (int i = 0; i < 3; ++i)
        base_[static_cast<std::size_t>(i)]->setEnabled(i != xParameter_->currentIndex() &&
                                                        i != yParameter_->currentIndex());
}

std::variant<MapSettings, QString> SettingsForm::read() const {
    MapSettings s;
    const auto need = [](const QLineEdit* field, double& into) -> std::optional<QString> {
        const auto v = decimal(field);
        if (!v)
            return tr("%1: a decimal number is wanted (digits, at most one point, a leading minus)")
                .arg(field->accessibleName());
        into = *v;
        return std::nullopt;
    };
    s.x.parameter = static_cast<SweepParameter>(xParameter_->currentData().toInt());
    s.y.parameter = static_cast<SweepParameter>(yParameter_->currentData().toInt());
    if (s.x.parameter == s.y.parameter) return tr("The two axes must be two different parameters");
    for (const auto& [field, into] : {std::pair<const QLineEdit*, double*>{xFrom_, &s.x.from}, {xTo_, &s.x.to},
                                      {yFrom_, &s.y.from}, {yTo_, &s.y.to}})
        if (auto why = need(field, *into)) return *why;
    s.x.count = columns_->value();
    s.y.count = rows_->value();
    for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B}) {
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
    Triple initial{};
    for (std::size_t k = 0; k < 3; ++k)
        if (auto why = need(initial_[k], initial[k])) return *why;
    values.initial = initial;
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
    xParameter_->setCurrentIndex(static_cast<int>(s.x.parameter));
    yParameter_->setCurrentIndex(static_cast<int>(s.y.parameter));
    enableFixed();
    xFrom_->setText(text(s.x.from));
    xTo_->setText(text(s.x.to));
    yFrom_->setText(text(s.y.from));
    yTo_->setText(text(s.y.to));
    columns_->setValue(s.x.count);
    rows_->setValue(s.y.count);
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
