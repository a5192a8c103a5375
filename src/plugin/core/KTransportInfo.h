#pragma once

// The host's transport as the bridges last saw it (positions in quarter
// notes), plus the position of the piece of audio being processed, which
// the pipeline advances from sub-block to sub-block.
struct KTransportInfo {
    double tempo = 120;
    double songPosition = 0;
    double barStart = 0;
    int numerator = 4;
    int denominator = 4;
    double cycleStart = -1.0;  // -1.0: no cycle
    double cycleEnd = -1.0;
    bool playing = false;
    bool positionJumped = false;
    bool playStateChanged = false;
    bool updated = false;
    bool updatedForEditor = false;

    // Position of the first sample that the current Process call handles.
    double piecePosition = 0;
};
