#pragma once
// The controls of the general settings view and of the keyboard settings
// view; the controls of neither set are visible in both views.

#include <vector>

const std::vector<int>& GeneralViewControls();
const std::vector<int>& KeyboardViewControls();
