#include "plot_form.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "command_line.h"
#include "help_texts.h"
#include "plot_command.h"
#include "report.h"

namespace veltrano::cli {

Form addPlotForm(CLI::App& app) {
    CLI::App& command = addFormCommand(app, "plot", kPlotAbout);
    struct Texts {
        std::vector<std::string> files;
        std::string exponent, equations;
    };
    auto texts = std::make_shared<Texts>();
    command.add_option("--exponent", texts->exponent, "draw only lambda K (1, 2 or 3; of a flow's file 1 to its K) of a history or a line, with its band")
        ->option_text("K");
    command.add_option("--equations", texts->equations,
                       "the equations typed in FILE (-: standard input) that the file must be of")
        ->option_text("FILE");
    command.add_option("INPUT OUTPUT", texts->files, "a history or sweep file and the picture to draw (.png or .svg)")
        ->expected(2)
        ->required()
        ->option_text(" ");
    refuseEmptyValues(command);

    return {&command, [texts] {
        // An empty name is no file: said so, not "cannot read " of nothing.
        if (unmarked(texts->files.at(0)).empty())
            return fail("plot", "INPUT is empty: give the history or sweep file to draw", kExitRefused);
        if (unmarked(texts->files.at(1)).empty())
            return fail("plot", "OUTPUT is empty: give the picture to draw, a new .png or .svg file", kExitRefused);
        return runPlot(unmarked(texts->files.at(0)), unmarked(texts->files.at(1)), unmarked(texts->exponent),
                       unmarked(texts->equations));
    }};
}

}  // namespace veltrano::cli
