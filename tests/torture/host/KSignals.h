#pragma once
// Input material for the blocks: what hosts feed (tones, noise, silence,
// full-scale squares, clicks, DC and tiny tails), all within -1..1 and
// never denormal.
#include "KTortureRandom.h"

void FillSignal(KTortureRandom& random, float* samples, int frames, double phase, double sampleRate);
