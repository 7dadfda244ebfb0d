#pragma once
// The dialog's output switches: which maps and residual runs one comparison keeps and saves.
// Both models are always fitted and every statistic is always computed; the switches only decide
// what leaves the run.

namespace compare {

struct OutputSwitches {
    bool tSNR1 = false;       // tSNR map of model 1
    bool tSNR2 = false;       // tSNR map of model 2
    bool tSNR3 = false;       // tSNR difference map, model 2 minus model 1
    bool R2adj1 = false;      // adjusted-R² map of model 1
    bool R2adj2 = false;      // adjusted-R² map of model 2
    bool R2adj3 = false;      // adjusted-R² difference map, model 2 minus model 1
    bool Fmap = false;        // F map between the two models
    bool residuals1 = false;  // model 1's cleaned time courses as a new FMR/STC pair
    bool residuals2 = false;  // the same for model 2
};

// Asks the host for the nine integer dialog parameters "tSNR1" ... "residuals2", in that order;
// a switch is on when the host returns a value other than 0.
OutputSwitches readOutputSwitches();

}  // namespace compare
