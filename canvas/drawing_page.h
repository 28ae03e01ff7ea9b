// The page the canvas's page loop is drawing on this thread.
//
// Tiles of one drawing run on several threads at once, each possibly on another page, so the
// page being drawn (which page-number fields and repeating objects ask the canvas for) is
// kept per thread; the canvases answer `drawingPage()` from here.
#pragma once

// From 1; 0 outside a drawing.
int drawingPageOnThisThread();
void setDrawingPageOnThisThread(int page);
