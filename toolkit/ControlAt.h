#pragma once
// The entry of a toolkit's control map for a control id; an id the dialog's
// table does not have is a programming error, reported as such.

#include <stdexcept>
#include <string>

namespace tk {

template <class Map>
auto& ControlAt(Map& controls, int id) {
    auto it = controls.find(id);
    if (it == controls.end()) throw std::out_of_range("no control " + std::to_string(id));
    return it->second;
}

}  // namespace tk
