#pragma once
// Exponential and natural logarithm built from IEEE basic arithmetic only. The C libraries of
// Linux and Windows round exp and log differently in the last bit, which would make the demo run
// differ between builds; these versions give the same bits wherever IEEE doubles are used
// without contraction.

namespace host::demo {

// e^x; 0 below -745, +infinity above 709.
double portableExp(double x);

// ln x for finite x > 0; x <= 0 gives NaN.
double portableLog(double x);

}  // namespace host::demo
