#pragma once
// The plug-in object that the host creates, initialises, drives with dialog actions and
// destroys. Every call arrives on the host's thread; no exception leaves the virtual functions.

#include <memory>

#include "plugin/export.h"
#include "plugin/zorq_log.h"
#include "plugin/zorq_plugin_interface.h"

class TANDREL_EXPORT tandrel : public ZorqPluginInterface {
  public:
    tandrel();
    // Logs the farewell, then destroys the log stream (which hands the host one more, empty
    // text). Writes nothing when initPlugin never got as far as creating the stream.
    ~tandrel() override;
    tandrel(const tandrel&) = delete;
    tandrel& operator=(const tandrel&) = delete;

    // Runs the action named by the dialog parameter "task": "choose_sdm" or "start"; any other
    // text does nothing but show and stop the busy cursor. A failure of the action is shown as
    // "Error: " and its text, and the result is then true. Returns false, calling nothing,
    // unless initPlugin succeeded.
    bool execute() override;
    // Resolves the host's functions, creates the log stream and checks the host's version and
    // the current document. On a failed check the reason is shown and the result is false; a
    // process that is not the host gets false and nothing shown.
    bool initPlugin() override;

    // The "choose_sdm" action: lets the user pick an SDM file and stores its path in the dialog
    // parameter "sdmfile" (an empty text when the dialog is cancelled).
    void chooseSdm();
    // The "start" action: compares the two models of the dialog on the current run. Returns true
    // when the run completes; every failure is thrown.
    bool compareModels();

  private:
    // Where every progress line goes; null until initPlugin creates it.
    std::unique_ptr<ZorqLog> logStream;
    // Whether the last initPlugin succeeded: no action runs otherwise.
    bool initialised = false;
};
