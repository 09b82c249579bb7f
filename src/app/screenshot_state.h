// STRIDELY_SCREENSHOT_STATE: puts the App into a state worth a screenshot at
// start ("stopwatch": a paused stopwatch with laps; "motivation": the motivation
// dialog). Other values are ignored.
#pragma once

struct App;

void ApplyScreenshotState(App& app, const char* state);
