#pragma once

#include <span>

#include "platform/ui/control_decl.h"

namespace pordex {

// The payment-order form's 92 controls in declaration order (control n is element n-1).
std::span<const ui::ControlDecl> updateRewControls();

// Design size of the form in dialog units.
inline constexpr int kUpdateRewWidth = 431;
inline constexpr int kUpdateRewHeight = 279;

}  // namespace pordex
