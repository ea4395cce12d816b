#pragma once

#include <array>
#include <string>

namespace SkinArt {

// The four images of a skin button, numbered 1 to 4 in their file names.
enum class ButtonState { Normal, Hot, Pushed, Disabled };

inline constexpr std::array<ButtonState, 4> kAllButtonStates = {
    ButtonState::Normal, ButtonState::Hot, ButtonState::Pushed, ButtonState::Disabled};

// "res/common/minbtn" + Hot -> "res/common/minbtn2.png"
inline std::string StateImageName(const std::string& stem, ButtonState state)
{
    return stem + std::to_string(static_cast<int>(state) + 1) + ".png";
}

}  // namespace SkinArt
