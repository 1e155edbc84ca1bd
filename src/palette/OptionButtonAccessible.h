#pragma once

namespace vellumor {

// Makes assistive technology announce every OptionButton as a radio button:
// one choice among several, named by its symbol or set, with its tooltip as
// the description. Safe to call more than once.
void installOptionButtonAccessibility();

} // namespace vellumor
