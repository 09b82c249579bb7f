// Icon glyphs of the merged icon font (Material Design Icons webfont), as UTF-8.
// Code refers to icons only through these names.
#pragma once

namespace Icon {
// Sports
inline constexpr const char* Run = "\uF46E";        // run
inline constexpr const char* Walk = "\uF583";       // walk
inline constexpr const char* Hike = "\uF583";       // walk (no hiking glyph in this font version)
inline constexpr const char* Bike = "\uF0A3";       // bike
inline constexpr const char* Swim = "\uF4E3";       // swim
inline constexpr const char* Other = "\uF1D8";      // dots-horizontal
}  // namespace Icon
