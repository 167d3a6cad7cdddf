#pragma once
// Drives the window through a few steps, as a user would, and saves an image
// of it after each: for the pictures in the documentation.

#include <string>
#include <vector>

namespace tk {

class QtSurface;

struct ScreenshotStep {
    int clickId = 0;           // a button to click first (0: none)
    int menuCommand = 0;       // then a menu bar command to choose (0: none)
    std::string file;          // the PNG written after the step, in the tour's folder
    bool wholeScreen = false;  // the whole screen as the user sees it, not the window
};

// Runs the steps in order and writes each image into dir (created when
// missing). Stops at the first step that cannot be done; error then says why.
bool RunScreenshotTour(QtSurface& surface, const std::string& dir,
                       const std::vector<ScreenshotStep>& steps, std::string* error);

}  // namespace tk
