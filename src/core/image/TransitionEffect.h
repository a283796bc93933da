#pragma once

namespace zentrova::TransitionEffect {
constexpr int TRANSITION_EFFECT_NONE = 0;
constexpr int TRANSITION_EFFECT_HORIZONTAL = 1;
constexpr int TRANSITION_EFFECT_VERTICAL = 2;
constexpr int TRANSITION_EFFECT_INSIDE_OUT = 3;
constexpr int TRANSITION_EFFECT_OUTSIDE_IN = 4;
constexpr int TRANSITION_EFFECT_FADE = 5;
constexpr int TRANSITION_EFFECT_RANDOM = 6;
} // namespace zentrova::TransitionEffect
