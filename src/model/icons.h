// Icon glyphs of the merged icon font (Material Design Icons webfont 1.6.50), as UTF-8.
// Code refers to icons only through these names. The comment after each constant is
// the code point of the icon it stands for in the original icon set, so that a page
// described with that number finds its constant.
#pragma once

#include <array>
#include <cstddef>

namespace Icon {
// Sports (the sport table's icons; chosen per sport rather than per original glyph)
inline constexpr const char* Run = "\uF46E";    // E726 run
inline constexpr const char* Walk = "\uF583";   // E805 walk
inline constexpr const char* Hike = "\uF509";   // E7C1 as sport icon: terrain (mountains)
inline constexpr const char* Bike = "\uF0A3";   // E945 as sport icon: bike
inline constexpr const char* Swim = "\uF4E3";   // EC0A swim
inline constexpr const char* Other = "\uF1D8";  // E9D9 as sport icon: dots-horizontal

// Everything else, in the order of the original code points
inline constexpr const char* InternetSharing = "\uF003";  // E704 access-point-network
inline constexpr const char* Sun = "\uF599";              // E706 weather-sunny
inline constexpr const char* MapPin = "\uF34E";           // E707 map-marker
inline constexpr const char* Moon = "\uF594";             // E708 weather-night
inline constexpr const char* ChevronDown = "\uF140";      // E70D chevron-down
inline constexpr const char* ChevronUp = "\uF143";        // E70E chevron-up
inline constexpr const char* Edit = "\uF3EB";             // E70F pencil
inline constexpr const char* Add = "\uF415";              // E710 plus
inline constexpr const char* Cancel = "\uF156";           // E711 close
inline constexpr const char* More = "\uF1D8";             // E712 dots-horizontal
inline constexpr const char* Settings = "\uF493";         // E713 settings
inline constexpr const char* People = "\uF00E";           // E716 account-multiple
inline constexpr const char* Stop = "\uF4DB";             // E71A stop
inline constexpr const char* ZoomOut = "\uF34A";          // E71F magnify-minus
inline constexpr const char* Search = "\uF349";           // E721 magnify
// E726 is Run above.
inline constexpr const char* Refresh = "\uF450";          // E72C refresh
inline constexpr const char* Star = "\uF4D2";             // E734 star-outline
inline constexpr const char* StarFill = "\uF4CE";         // E735 star
inline constexpr const char* Check = "\uF12C";            // E73E check
inline constexpr const char* Delete = "\uF1C0";           // E74D delete
inline constexpr const char* Save = "\uF193";             // E74E content-save
inline constexpr const char* Volume = "\uF57E";           // E767 volume-high
inline constexpr const char* Play = "\uF40A";             // E768 play
inline constexpr const char* Pause = "\uF3E4";            // E769 pause
inline constexpr const char* ChevronLeft = "\uF141";      // E76B chevron-left
inline constexpr const char* ChevronRight = "\uF142";     // E76C chevron-right
inline constexpr const char* Contact = "\uF004";          // E77B account
inline constexpr const char* Calendar = "\uF0ED";         // E787 calendar
inline constexpr const char* Undo = "\uF54C";             // E7A7 undo
inline constexpr const char* Rotate = "\uF456";           // E7AD repeat (a loop)
inline constexpr const char* View = "\uF208";             // E7B3 eye
inline constexpr const char* Warning = "\uF026";          // E7BA alert
inline constexpr const char* Education = "\uF474";        // E7BE school
inline constexpr const char* Flag = "\uF23B";             // E7C1 flag
inline constexpr const char* Power = "\uF425";            // E7E8 power
inline constexpr const char* Car = "\uF10B";              // E804 car
// E805 is Walk above.
inline constexpr const char* Home = "\uF2DC";             // E80F home
inline constexpr const char* Location = "\uF1A4";         // E81D crosshairs-gps
inline constexpr const char* MapLayers = "\uF328";        // E81E layers
inline constexpr const char* Recent = "\uF150";           // E823 clock
inline constexpr const char* Sync = "\uF4E6";             // E895 sync
inline constexpr const char* Download = "\uF1DA";         // E896 download
inline constexpr const char* Upload = "\uF552";           // E898 upload
inline constexpr const char* ZoomIn = "\uF34B";           // E8A3 magnify-plus
inline constexpr const char* Import = "\uF220";           // E8B5 file-import
inline constexpr const char* Folder = "\uF24B";           // E8B7 folder
inline constexpr const char* Close = "\uF5AD";            // E8BB window-close
inline constexpr const char* Copy = "\uF18F";             // E8C8 content-copy
inline constexpr const char* Calculator = "\uF0EC";       // E8EF calculator
inline constexpr const char* Library = "\uF331";          // E8F1 library
inline constexpr const char* List = "\uF279";             // E8FD format-list-bulleted
inline constexpr const char* World = "\uF1E7";            // E909 earth
inline constexpr const char* Street = "\uF462";           // E913 road-variant
inline constexpr const char* Stopwatch = "\uF51B";        // E916 timer
inline constexpr const char* Lightning = "\uF241";        // E945 flash
inline constexpr const char* Info = "\uF2FD";             // E946 information-outline
inline constexpr const char* Health = "\uF5F6";           // E95E heart-pulse
inline constexpr const char* Frigid = "\uF598";           // E9CA weather-snowy
inline constexpr const char* Unknown = "\uF625";          // E9CE help-circle-outline
inline constexpr const char* AreaChart = "\uF127";        // E9D2 chart-areaspline
inline constexpr const char* Diagnostic = "\uF430";       // E9D9 pulse
inline constexpr const char* Equalizer = "\uF66A";        // E9E9 tune-vertical
inline constexpr const char* Report = "\uF219";           // E9F9 file-document
inline constexpr const char* Lightbulb = "\uF335";        // EA80 lightbulb
inline constexpr const char* Puzzle = "\uF431";           // EA86 puzzle
inline constexpr const char* Ringer = "\uF09E";           // EA8F bell-ring
inline constexpr const char* HeartFill = "\uF2D1";        // EB52 heart
// EC0A is Swim above.
inline constexpr const char* Calories = "\uF238";         // ECAD fire
inline constexpr const char* Export = "\uF21D";           // EDE1 file-export
inline constexpr const char* Grid = "\uF570";             // F0E2 view-grid

// Every constant with its name (for the icon gallery and the font's glyph list).
struct Entry {
  const char* name;
  const char* glyph;
};
inline constexpr Entry kAll[] = {
    {"Run", Run}, {"Walk", Walk}, {"Hike", Hike}, {"Bike", Bike}, {"Swim", Swim},
    {"Other", Other}, {"InternetSharing", InternetSharing}, {"Sun", Sun},
    {"MapPin", MapPin}, {"Moon", Moon}, {"ChevronDown", ChevronDown},
    {"ChevronUp", ChevronUp}, {"Edit", Edit}, {"Add", Add}, {"Cancel", Cancel},
    {"More", More}, {"Settings", Settings}, {"People", People}, {"Stop", Stop},
    {"ZoomOut", ZoomOut}, {"Search", Search}, {"Refresh", Refresh}, {"Star", Star},
    {"StarFill", StarFill}, {"Check", Check}, {"Delete", Delete}, {"Save", Save},
    {"Volume", Volume}, {"Play", Play}, {"Pause", Pause}, {"ChevronLeft", ChevronLeft},
    {"ChevronRight", ChevronRight}, {"Contact", Contact}, {"Calendar", Calendar},
    {"Undo", Undo}, {"Rotate", Rotate}, {"View", View}, {"Warning", Warning},
    {"Education", Education}, {"Flag", Flag}, {"Power", Power}, {"Car", Car},
    {"Home", Home}, {"Location", Location}, {"MapLayers", MapLayers}, {"Recent", Recent},
    {"Sync", Sync}, {"Download", Download}, {"Upload", Upload}, {"ZoomIn", ZoomIn},
    {"Import", Import}, {"Folder", Folder}, {"Close", Close}, {"Copy", Copy},
    {"Calculator", Calculator}, {"Library", Library}, {"List", List}, {"World", World},
    {"Street", Street}, {"Stopwatch", Stopwatch}, {"Lightning", Lightning}, {"Info", Info},
    {"Health", Health}, {"Frigid", Frigid}, {"Unknown", Unknown}, {"AreaChart", AreaChart},
    {"Diagnostic", Diagnostic}, {"Equalizer", Equalizer}, {"Report", Report},
    {"Lightbulb", Lightbulb}, {"Puzzle", Puzzle}, {"Ringer", Ringer},
    {"HeartFill", HeartFill}, {"Calories", Calories}, {"Export", Export}, {"Grid", Grid},
};
inline constexpr std::size_t kCount = sizeof(kAll) / sizeof(kAll[0]);

// The code point of a glyph: every glyph is one three-byte UTF-8 sequence.
constexpr char16_t Codepoint(const char* glyph) {
  return static_cast<char16_t>(((glyph[0] & 0x0F) << 12) | ((glyph[1] & 0x3F) << 6) |
                               (glyph[2] & 0x3F));
}

// The code point of every constant, in the order of kAll (duplicates possible); the
// font loader merges exactly these glyphs from the icon font.
inline constexpr std::array<char16_t, kCount> kCodepoints = [] {
  std::array<char16_t, kCount> out{};
  for (std::size_t i = 0; i < kCount; ++i) out[i] = Codepoint(kAll[i].glyph);
  return out;
}();
}  // namespace Icon

// Weather symbols. These are ordinary Unicode characters taken from the symbol font
// (DejaVu Sans), not from the icon font, so they are deliberately not in kAll.
namespace Icon {
inline constexpr const char* WeatherSun = "\u2600";       // ☀ clear, daytime
inline constexpr const char* WeatherMoon = "\u263E";      // ☾ clear, night
inline constexpr const char* WeatherCloud = "\u2601";     // ☁ clouds, fog
inline constexpr const char* WeatherUmbrella = "\u2602";  // ☂ rain and everything else
inline constexpr const char* WeatherSnow = "\u2744";      // ❄ snow
inline constexpr const char* WeatherThunder = "\u26A1";   // ⚡ thunderstorm
}  // namespace Icon
