#pragma once

// The one switch that lets or stops every tool-tip hint of the program. It starts on. While
// it is off, an event filter on the application drops every tool-tip request, so no control
// of any window shows its hint; each control keeps its own hint text meanwhile.

bool HintsShown();

// Turning hints off also takes down a hint that is on screen.
void SetHintsShown(bool shown);
