#pragma once
// The model window's blocking waits. They keep the window responsive by letting window events
// run in small slices, and tests shorten them through waitScale.

#include <functional>

namespace model {

// Every wait lasts its nominal time multiplied by this (tests set 0.01).
extern double waitScale;

// Waits ms milliseconds (scaled), letting window events run; returns early once done() holds.
void Wait(int ms, const std::function<bool()>& done = {});

}  // namespace model
