// Small operations on the main SDL window.
#pragma once

#include <SDL.h>

// Shows the window (also when hidden), restores it when minimised and raises it.
void ShowAndRaise(SDL_Window* window);

// Minimum size 1180 x 760 design pixels, but never larger than the usable
// display area minus 40 pixels: a minimum beyond the screen would push the
// window off it.
void SetMinimumSize(SDL_Window* window, float scale, const SDL_Rect& usable);

// The window icon: the brand mark (gradient square with a pulse line), drawn
// in code so the program needs no icon file at run time.
void SetWindowIcon(SDL_Window* window);
