#pragma once
// The solver's guide animation window ("how to do it"), over the web view.

namespace reckonry {

// Gives the main frame its way of showing the guide's how-to-do texts.
void InstallGuideAnimation();

}  // namespace reckonry
