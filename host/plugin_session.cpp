#include "host/plugin_session.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "host/fmr_document.h"
#include "host/host_context.h"
#include "host/map_previews.h"
#include "host/module_loader.h"
#include "host/nifti_io.h"
#include "host/run_summary.h"
#include "plugin/zorq_plugin_interface.h"

namespace host {
namespace {

using CreatePluginFunction = ZorqPluginInterface* (*)();
using DescriptorFunction = const char* (*)();

// Calls into the plug-in. An exception it lets escape is a fault of the plug-in, reported and
// taken as a failed call.
bool callPlugin(HostContext& host, const char* operation, const std::function<bool()>& call) {
    try {
        return call();
    } catch (const std::exception& failure) {
        host.console().note(std::string("the plug-in's ") + operation +
                            " let an exception escape: " + failure.what());
    } catch (...) {
        host.console().note(std::string("the plug-in's ") + operation +
                            " let an unknown exception escape");
    }
    return false;
}

std::string descriptorText(const LoadedLibrary& library, const char* name) {
    const auto function = reinterpret_cast<DescriptorFunction>(library.function(name));
    const char* text = function();
    return text == nullptr ? "" : text;
}

// Shows what the plug-in says about itself, as a host lists it among its plug-ins.
void showDescriptor(const LoadedLibrary& library, Console& console) {
    console.note("plug-in \"" + descriptorText(library, "getPluginName") + "\" version \"" +
                 descriptorText(library, "getPluginVersion") + "\" by \"" +
                 descriptorText(library, "getAuthor") + "\": \"" +
                 descriptorText(library, "getPluginDescription") + "\"; GUI script \"" +
                 descriptorText(library, "getGUIScript") + "\"; help file \"" +
                 descriptorText(library, "getHelpFile") + "\"");
}

// Creates the plug-in, initialises it and runs the tasks; false when any step failed. The
// plug-in is destroyed before the library is unloaded.
bool drivePlugin(const LoadedLibrary& library, const std::vector<std::string>& tasks,
                 HostContext& host) {
    const auto create = reinterpret_cast<CreatePluginFunction>(library.function("createPlugin"));
    std::unique_ptr<ZorqPluginInterface> plugin;
    callPlugin(host, "createPlugin", [&] {
        plugin.reset(create());
        return true;
    });
    if (!plugin) {
        host.console().note(library.path() + ": createPlugin gave no plug-in");
        return false;
    }
    bool succeeded = callPlugin(host, "initPlugin", [&] { return plugin->initPlugin(); });
    if (!succeeded) {
        host.console().note(tasks.empty() ? "the plug-in did not initialise"
                                          : "the plug-in did not initialise; no task was run");
    } else {
        for (const std::string& task : tasks) {
            host.parameters().set("task", task);
            if (!callPlugin(host, "execute", [&] { return plugin->execute(); })) {
                host.console().note("task \"" + task + "\": the plug-in's execute returned false");
                succeeded = false;
            }
        }
    }
    callPlugin(host, "destructor", [&] {
        plugin.reset();
        return true;
    });
    return succeeded;
}

void printParameters(const DialogParameters& parameters, std::ostream& out) {
    for (const auto& [name, value] : parameters.all()) out << name << "=" << value << "\n";
    out.flush();
}

}  // namespace

int runSession(Options options, const SessionStreams& streams) {
    Console console(streams.out, streams.err, streams.errIsTerminal);
    std::optional<FmrDocument> document;
    try {
        if (!options.run.empty()) document.emplace(openDocument(options.run));
    } catch (const std::bad_alloc&) {
        console.note(options.run + ": not enough memory to hold the run");
        return kExitUsage;
    } catch (const std::runtime_error& error) {
        console.note(error.what());
        return kExitUsage;
    }

    HostContext host(console, std::move(options.parameters), std::move(document),
                     std::move(options.picks), options.hostVersion, streams.terminal);
    const ActiveHost active(host);
    RunSummary summary;
    host.addListener(summary);
    std::unique_ptr<SaveListener> previews;
    if (options.preview) {
        previews = makeMapPreviews(console);
        host.addListener(*previews);
    }
    bool succeeded = false;
    try {
        const LoadedLibrary library(options.pluginPath.empty()
                                        ? executableFolder() + defaultPluginFileName()
                                        : options.pluginPath);
        showDescriptor(library, console);
        succeeded = drivePlugin(library, options.tasks, host);
    } catch (const ModuleError& error) {
        console.note(error.what());
        return kExitUsage;
    }
    host.checkBusyCursorStopped();
    if (!summary.empty()) summary.print(streams.out);
    if (options.printParameters) printParameters(host.parameters(), streams.out);
    const bool clean = succeeded && host.messageBoxCount() == 0 && host.faultCount() == 0;
    return clean ? kExitSuccess : kExitFailure;
}

}  // namespace host
