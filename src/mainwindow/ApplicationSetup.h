#pragma once

namespace vellumor {

// What the program sets on its QApplication before making its first window:
// its name and version, and the desktop file that holds its launcher and icon.
// The start-up benchmark goes through it too, so that it measures the start the
// program makes.
void prepareApplication();

} // namespace vellumor
