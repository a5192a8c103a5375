#pragma once
#include "AudioFile.h"

// A built-in stereo source for trying the effect without a file: a
// repeating A-minor arpeggio of plucked strings over soft noise bursts.
AudioData MakeDemoSource(int sampleRate, double seconds);
