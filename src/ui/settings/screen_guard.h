// Runs a screen's handler and shows a refusal of bad input as a message; a
// database failure goes on to the frame, which ends the program.
#pragma once

#include <functional>
#include <stdexcept>

#include "platform/interaction.h"

namespace qx::ui {

inline void RunGuarded(Interaction& ui, const std::function<void()>& body) {
    try {
        body();
    } catch (const std::invalid_argument& e) {
        ui.inform(e.what(), kDefaultTitle);
    }
}

}  // namespace qx::ui
