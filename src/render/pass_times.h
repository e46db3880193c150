// Where a frame's time goes: with timing switched on (a benchmark's flag), each pass of the frame
// is closed by a mark that waits for the GL work queued so far, so the time between two marks
// is the pass's own, and counts the fragment-program runs the pass cost. Off, a mark does
// nothing, so the game's frames keep the renderer's overlap.
#pragma once
#include "common/common.h"

// The race scene is booked by what it draws (cars, track, sky, car effects with the checkpoint
// marker, lamp glows); PASS_SCENE is what is left of it (clearing, the camera, the lights).
// PASS_OTHER: what is not drawing (messages, the race step, the sound mix).
enum FramePass {
    PASS_REFLECTION,
    PASS_SCENE,
    PASS_CARS,
    PASS_TRACK,
    PASS_SKY,
    PASS_EFFECTS,
    PASS_GLOWS,
    PASS_POST,
    PASS_HUD,
    PASS_SWAP,
    PASS_OTHER,
    PASS_COUNT
};

extern bool passTiming; // set before the GL context exists

// Books the time (and fragment runs) since the previous mark to the pass; a pass may be marked
// more than once a frame and adds up.
void markPassEnd(FramePass pass);
// passMs and passFragments booked since the last trace line, when timing is on; then starts over.
void tracePassFields(TraceLine &line);
