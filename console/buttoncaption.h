#pragma once

class SmoothButton;

// Gives the button the largest bold caption, up to its own height's choice,
// that fits its width on one line: long captions on narrow buttons are never
// cut.
void FitButtonCaption(SmoothButton* button);
