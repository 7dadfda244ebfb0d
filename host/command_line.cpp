#include "host/command_line.h"

#include <CLI/CLI.hpp>

#include "host/compare_command.h"
#include "host/fmr_document.h"
#include "host/map_previews.h"

namespace host {
namespace {

constexpr const char* kDescription =
    "quorvis: a small stand-in host for Tandrel-kit plug-ins. It opens RUN as the current FMR\n"
    "document, loads the plug-in, stands in for its dialog (parameters, file dialogs), runs each\n"
    "--task as one dialog action and writes the plug-in's log pane to standard output, followed\n"
    "by a summary of the files saved. `quorvis compare` does the common case in one command.";

constexpr const char* kFooter =
    "Examples:\n"
    "  quorvis compare run1.nii.gz run1_task.sdm run1_motion.sdm\n"
    "      every map of the two designs, beside the SDM files\n"
    "  quorvis compare run1.nii.gz run1_task.sdm run1_motion.sdm --maps tSNR3,R2adj3,Fmap \\\n"
    "          --residuals 1,2 --preview\n"
    "      three comparison maps with PNG previews, and both confound-cleaned runs\n"
    "  quorvis --set sdmfile1=run1_task.sdm --set sdmfile2=run1_motion.sdm \\\n"
    "          --set Fmap=1 --set R2adj3=1 --task start run1.nii.gz\n"
    "      the generic form: dialog parameters one by one, then the action \"start\"\n"
    "  quorvis --task choose_sdm --pick design.sdm --print-params run1.nii.gz\n"
    "  quorvis compare --help\n"
    "\n"
    "Exit status: 0 every step succeeded; 1 the plug-in refused or failed, showed a message box,\n"
    "or a host service failed (a file or preview it could not write); 2 a usage error, or a run\n"
    "or plug-in that cannot be read.";

// What the option table fills, before the values are checked.
struct RawOptions {
    std::string run;
    std::string pluginPath;
    std::vector<std::string> settings;
    std::vector<std::string> tasks;
    std::vector<std::string> picks;
    bool printParameters = false;
    std::string hostVersion = "3.0.0";
};

void addGenericForm(CLI::App& app, RawOptions& raw) {
    app.add_option("RUN", raw.run,
                   "the current document: a 4D NIfTI run (.nii, .nii.gz) or an .fmr document "
                   "written by quorvis; without it there is no current document")
        ->type_name("PATH");
    app.add_option("--plugin", raw.pluginPath,
                   "the plug-in library (default: Tandrel.so beside quorvis)")
        ->type_name("PATH")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--set", raw.settings, "sets a dialog parameter (repeatable)")
        ->type_name("NAME=VALUE")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--task", raw.tasks,
                   "sets the parameter \"task\" and runs the plug-in's action (repeatable, run "
                   "in order), e.g. choose_sdm or start")
        ->type_name("TASK")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--pick", raw.picks,
                   "the answer of the next file dialog (repeatable); without one a terminal is "
                   "asked, otherwise the dialog is cancelled")
        ->type_name("PATH")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag("--print-params", raw.printParameters,
                 "prints every dialog parameter as NAME=VALUE after the tasks");
    app.add_option("--host-version", raw.hostVersion, "the version the host reports to the plug-in")
        ->type_name("X.Y.Z")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
        ->capture_default_str();
}

void checkRunPath(const std::string& run) {
    if (run.empty()) return;
    try {
        documentPathFor(run);
    } catch (const std::runtime_error& error) {
        throw UsageError(error.what());
    }
}

Options checked(const RawOptions& raw) {
    Options options;
    options.run = raw.run;
    options.pluginPath = raw.pluginPath;
    options.printParameters = raw.printParameters;
    options.hostVersion = parseHostVersion(raw.hostVersion);
    try {
        for (const std::string& setting : raw.settings) {
            const std::size_t equals = setting.find('=');
            if (equals == std::string::npos || equals == 0) {
                throw UsageError("--set " + setting + ": expected NAME=VALUE");
            }
            options.parameters.set(setting.substr(0, equals), setting.substr(equals + 1));
        }
        DialogParameters trial;
        for (const std::string& task : raw.tasks) trial.set("task", task);
    } catch (const ParameterError& error) {
        throw UsageError(error.what());
    }
    options.tasks = raw.tasks;
    for (const std::string& pick : raw.picks) {
        if (pick.size() > kMaxParameterText) {
            throw UsageError("--pick: the path has " + std::to_string(pick.size()) +
                             " characters; a file dialog returns at most 511");
        }
        options.picks.push_back(pick);
    }
    checkRunPath(options.run);
    return options;
}

// The compare form: its arguments fill the dialog, and the action is "start".
void useCompareForm(Options& options, const RawOptions& raw, const CompareArguments& compare) {
    if (!raw.run.empty()) {
        throw UsageError("compare: unexpected argument \"" + raw.run +
                         "\"; compare takes RUN SDM1 SDM2 and its options");
    }
    if (!raw.settings.empty() || !raw.tasks.empty() || !raw.picks.empty()) {
        throw UsageError(
            "compare fills the dialog and runs \"start\" itself; --set, --task and --pick belong "
            "to the generic form");
    }
    if (compare.preview && !previewsAvailable()) {
        throw UsageError("--preview: this build of quorvis makes no previews");
    }
    checkRunPath(compare.run);
    options.run = compare.run;
    options.parameters = compareParameters(compare);
    options.tasks = {"start"};
    options.preview = compare.preview;
}

}  // namespace

HostVersion parseHostVersion(const std::string& text) {
    const std::size_t first = text.find('.');
    const std::size_t second = first == std::string::npos ? first : text.find('.', first + 1);
    if (second != std::string::npos) {
        const auto major = parseInteger(text.substr(0, first));
        const auto minor = parseInteger(text.substr(first + 1, second - first - 1));
        const auto patch = parseInteger(text.substr(second + 1));
        if (major && minor && patch) return HostVersion{*major, *minor, *patch};
    }
    throw UsageError("--host-version " + text + ": expected X.Y.Z with three integers");
}

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err) {
    CLI::App app(kDescription, "quorvis");
    app.footer(kFooter);
    app.set_version_flag("--version", "quorvis 1.0, a stand-in host for Tandrel-kit plug-ins");
    RawOptions raw;
    addGenericForm(app, raw);
    CompareArguments compare;
    const CLI::App& compareCommand = addCompareCommand(app, compare);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error, out, err);
        return CommandLine{std::nullopt, status == 0 ? kExitSuccess : kExitUsage};
    }
    try {
        Options options = checked(raw);
        if (compareCommand.parsed()) useCompareForm(options, raw, compare);
        return CommandLine{std::move(options), kExitSuccess};
    } catch (const UsageError& error) {
        err << "quorvis: " << error.what() << "\n";
        return CommandLine{std::nullopt, kExitUsage};
    }
}

}  // namespace host
