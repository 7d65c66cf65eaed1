// The time-left text of the progress display, in the user's language.
#pragma once

#include "Afx.h"
#include "Progress.h"

// Hours, minutes and seconds, minutes and seconds, or seconds alone, by the form.
CString TimeLeftText(const TimeLeft& left);
