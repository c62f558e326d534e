#pragma once

#include <vector>

// The stereo test signal of `kalvior demo`, made from closed forms so it
// needs no file: a centred bass, a tone on each side, a tone sweeping from
// left to right, and quiet uncorrelated noise in each channel. Peaks stay
// below -3 dBFS; 10 ms fades avoid clicks at both ends.
void synthesiseDemoSignal(int sampleRate, double seconds, std::vector<double>& left, std::vector<double>& right);
