// A page that draws every themed primitive with sample data, for looking at the look
// and feel in one place (the program shows it with --gallery).
#pragma once

// Draws inside the current window. Also opens its own sample overlay and confetti
// when asked; the confirmation dialog and status messages are drawn by the frame.
void DrawGallery();
// Which part DrawGallery shows: 0 the controls, charts and fields, 1 every icon.
void SetGalleryPage(int page);
