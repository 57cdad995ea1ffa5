#include "explorer_settings_store.h"

#include <QSettings>
#include <QStringList>
#include <cmath>

#include "typed_flow.h"
#include "equation_text.h"
#include "flow_point.h"
#include "system_description.h"

namespace veltrano::explorer {

namespace {

// Doubles are kept as their exact text, so that a session comes back to
// the very same points.
QString text(double v) {
    return QString::fromStdString(exactText(v));
}

std::optional<double> finite(const QSettings& store, const QString& key) {
    bool ok = false;
    const double v = store.value(key).toString().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Doubles separated by commas, each finite.
std::optional<std::vector<double>> finiteList(const QSettings& store, const QString& key) {
    std::vector<double> values;
    for (const QString& text : store.value(key).toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (!ok || !std::isfinite(v)) return std::nullopt;
        values.push_back(v);
    }
    return values;
}

QString listText(const std::vector<double>& values) {
    QStringList texts;
    for (double v : values) texts << text(v);
    return texts.join(QLatin1Char(','));
}

std::optional<std::int64_t> whole(const QSettings& store, const QString& key, std::int64_t lo, std::int64_t hi) {
    bool ok = false;
    const qlonglong v = store.value(key).toString().toLongLong(&ok);
    if (!ok || v < lo || v > hi) return std::nullopt;
    return v;
}

}  // namespace

Session loadSession() {
    QSettings store;
    Session session;
    store.beginGroup(QStringLiteral("explorer"));
    if (const auto shown = whole(store, QStringLiteral("shown"), 0, 5))
        session.shown = static_cast<Shown>(*shown);
    if (!store.contains(QStringLiteral("x/parameter"))) return session;

    MapSettings s;
    constexpr std::int64_t kMost = 1'000'000'000;
    bool usable = true;
    const auto axis = [&](const QString& name, MapAxis& a) {
        const auto p = whole(store, name + QStringLiteral("/parameter"), 0, 2);
        const auto from = finite(store, name + QStringLiteral("/from"));
        const auto to = finite(store, name + QStringLiteral("/to"));
        const auto count = whole(store, name + QStringLiteral("/count"), 1, MapSettings::kMaxCells);
        if (!p || !from || !to || !count) return usable = false, void();
        a = {static_cast<SweepParameter>(*p), *from, *to, static_cast<int>(*count)};
    };
    axis(QStringLiteral("x"), s.x);
    axis(QStringLiteral("y"), s.y);
    usable = usable && s.x.parameter != s.y.parameter;
    const auto number = [&](const char* key, double& into) {
        const auto v = finite(store, QString::fromLatin1(key));
        if (v) into = *v;
        usable = usable && v;
    };
    const auto integer = [&](const char* key, std::int64_t& into, std::int64_t lo) {
        const auto v = whole(store, QString::fromLatin1(key), lo, kMost);
        if (v) into = *v;
        usable = usable && v;
    };
    number("sigma", s.base.sv);
    number("R", s.base.rv);
    number("b", s.base.bv);
    integer("n", s.run.intervals, 1);
    integer("transient", s.run.transient, 0);
    number("initialX", s.run.initial[0]);
    number("initialY", s.run.initial[1]);
    number("initialZ", s.run.initial[2]);
    number("step", s.run.step);
    integer("stepsPerInterval", s.run.stepsPerInterval, 1);
    integer("batch", s.run.batch, 1);
    number("targetError", s.run.targetError);
    s.run.errors = store.value(QStringLiteral("errors")).toBool() || s.run.targetError > 0;
    usable = usable && s.run.step > 0 && s.run.targetError >= 0;
    // Of another flow of the catalogue, as the catalogue has it now.
    if (store.contains(QStringLiteral("system/name"))) {
        SystemMap m;
        m.name = store.value(QStringLiteral("system/name")).toString().toStdString();
        const auto dimension = whole(store, QStringLiteral("system/dimension"), 1, kMaxDimension);
        // A typed flow keeps its text; it is described as it parses now.
        std::optional<SystemDescription> flow;
        if (m.name == SystemMap::kTypedName) {
            m.equations = store.value(QStringLiteral("system/equations")).toString().toStdString();
            try {
                flow = typedFlowDescription(m.equations);
            } catch (const equations::EquationError&) {
                return session;
            }
        } else if (dimension) {
            flow = findSystem(m.name, static_cast<std::size_t>(*dimension));
        }
        const auto values = finiteList(store, QStringLiteral("system/values"));
        const auto initial = finiteList(store, QStringLiteral("system/initial"));
        const auto across = whole(store, QStringLiteral("system/across"), 0, 1000);
        const auto up = whole(store, QStringLiteral("system/up"), -1, 1000);
        const auto exponents = whole(store, QStringLiteral("system/exponents"), 1, kMaxDimension);
        if (!flow || m.name == "lorenz" || !dimension || *dimension != static_cast<std::int64_t>(flow->dimension) ||
            !values || !initial || !across || !up || !exponents)
            return session;
        m.dimension = flow->dimension;
        m.values = *values;
        m.initial = *initial;
        m.across = static_cast<std::size_t>(*across);
        m.up = *up < 0 ? SystemMap::kNoAxis : static_cast<std::size_t>(*up);
        m.exponents = static_cast<std::size_t>(*exponents);
        const std::size_t p = flow->parameters.size();
        usable = usable && m.values.size() == p && m.initial.size() == m.dimension && m.across < p &&
                 (m.up < p ? m.up != m.across : p == 1 && m.up == SystemMap::kNoAxis) && m.exponents <= m.dimension;
        if (m.up == SystemMap::kNoAxis) s.y = {SweepParameter::R, 0.0, 0.0, 1};
        s.system = std::move(m);
    }
    if (usable) session.settings = s;
    return session;
}

void saveSession(const Session& session) {
    QSettings store;
    store.beginGroup(QStringLiteral("explorer"));
    store.setValue(QStringLiteral("shown"), QString::number(static_cast<int>(session.shown)));
    if (!session.settings) return;
    const MapSettings& s = *session.settings;
    const auto axis = [&](const QString& name, const MapAxis& a) {
        store.setValue(name + QStringLiteral("/parameter"), QString::number(static_cast<int>(a.parameter)));
        store.setValue(name + QStringLiteral("/from"), text(a.from));
        store.setValue(name + QStringLiteral("/to"), text(a.to));
        store.setValue(name + QStringLiteral("/count"), QString::number(a.count));
    };
    axis(QStringLiteral("x"), s.x);
    axis(QStringLiteral("y"), s.y);
    store.setValue(QStringLiteral("sigma"), text(s.base.sv));
    store.setValue(QStringLiteral("R"), text(s.base.rv));
    store.setValue(QStringLiteral("b"), text(s.base.bv));
    store.setValue(QStringLiteral("n"), QString::number(s.run.intervals));
    store.setValue(QStringLiteral("transient"), QString::number(s.run.transient));
    store.setValue(QStringLiteral("initialX"), text(s.run.initial[0]));
    store.setValue(QStringLiteral("initialY"), text(s.run.initial[1]));
    store.setValue(QStringLiteral("initialZ"), text(s.run.initial[2]));
    store.setValue(QStringLiteral("step"), text(s.run.step));
    store.setValue(QStringLiteral("stepsPerInterval"), QString::number(s.run.stepsPerInterval));
    store.setValue(QStringLiteral("errors"), s.run.errors);
    store.setValue(QStringLiteral("batch"), QString::number(s.run.batch));
    store.setValue(QStringLiteral("targetError"), text(s.run.targetError));
    // Lorenz keeps the keys it always had, and no others.
    store.remove(QStringLiteral("system"));
    if (s.system) {
        const SystemMap& m = *s.system;
        store.setValue(QStringLiteral("system/name"), QString::fromStdString(m.name));
        store.setValue(QStringLiteral("system/dimension"), QString::number(m.dimension));
        store.setValue(QStringLiteral("system/values"), listText(m.values));
        store.setValue(QStringLiteral("system/across"), QString::number(m.across));
        store.setValue(QStringLiteral("system/up"),
                       m.up == SystemMap::kNoAxis ? QStringLiteral("-1") : QString::number(m.up));
        store.setValue(QStringLiteral("system/initial"), listText(m.initial));
        store.setValue(QStringLiteral("system/exponents"), QString::number(m.exponents));
        if (!m.equations.empty())
            store.setValue(QStringLiteral("system/equations"), QString::fromStdString(m.equations));
    }
}

}  // namespace veltrano::explorer
