#pragma once
// Singular value decomposition (Golub–Reinsch: Householder bidiagonalisation, accumulation of
// the transformations, implicit-shift QR sweeps) and the Moore–Penrose pseudo-inverse built on
// it. The model fits need the pseudo-inverse of XᵀX, which stays defined when predictors are
// collinear. The decomposition is written once for the element type; BasicMatrix<T>::svd,
// BasicMatrix<T>::invert and inverse() (matrix.h) exist for float and double.

#include "numerics/matrix.h"

namespace numerics {

// sqrt(p² + q²) without overflow or destructive underflow, rounded step by step in T; equal
// magnitudes take the branch scaled by |q|.
template <class T>
T scaledHypot(T p, T q);

}  // namespace numerics
