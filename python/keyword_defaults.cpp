#include "keyword_defaults.h"

#include <cmath>
#include <utility>

#include "run_settings.h"

namespace veltrano::python {

namespace {

// A whole double as Python writes a whole number, any other as a float.
py::object number(double v) {
    if (std::trunc(v) == v && std::abs(v) < 1e15) return py::int_(static_cast<long long>(v));
    return py::float_(v);
}

}  // namespace

KeywordDefaults keywordDefaults() {
    const RunSettings s{};
    KeywordDefaults d;
    d.transient = py::int_(s.transient);
    d.initial = py::make_tuple(number(s.initial[0]), number(s.initial[1]), number(s.initial[2]));
    d.step = number(s.step);
    d.stepsPerInterval = py::int_(s.stepsPerInterval);
    d.errors = py::bool_(s.errors);
    d.batch = py::int_(s.batch);
    d.targetError = s.targetError > 0 ? number(s.targetError) : py::none();
    return d;
}

std::string withDefaults(std::string_view text) {
    const KeywordDefaults d = keywordDefaults();
    const std::pair<std::string_view, const py::object*> keywords[] = {
        {"{transient}", &d.transient},   {"{initial}", &d.initial},
        {"{step}", &d.step},             {"{steps_per_interval}", &d.stepsPerInterval},
        {"{errors}", &d.errors},         {"{batch}", &d.batch},
        {"{target_error}", &d.targetError},
    };
    std::string out(text);
    for (const auto& [key, value] : keywords) {
        const std::string shown = py::str(py::repr(*value));
        for (auto at = out.find(key); at != std::string::npos; at = out.find(key, at + shown.size()))
            out.replace(at, key.size(), shown);
    }
    for (auto tab = out.find('\t'); tab != std::string::npos; tab = out.find('\t', tab)) {
        const auto lineStart = out.rfind('\n', tab);
        const std::size_t column = lineStart == std::string::npos ? tab : tab - lineStart - 1;
        out.replace(tab, 1, column < kDescriptionColumn ? kDescriptionColumn - column : 1, ' ');
    }
    return out;
}

}  // namespace veltrano::python
