// The player's own controls, "base/controls.inf": for each action of a race, the key and the pad
// inputs that work it. 52 little-endian 32-bit words:
//   "CNTL" (0x4C544E43), version 1, the number of actions (8),
//   for each action three bindings of two words (kind, code): the key, then two pad inputs,
//   an FNV-1a hash of every byte before it.
// The hash catches a file that was cut short or scribbled on, so a damaged file is refused whole
// rather than read as a strange set of controls.
#pragma once
#include <cstddef>

enum ControlAction {
    ACTION_STEER_LEFT, ACTION_STEER_RIGHT, ACTION_THROTTLE, ACTION_BRAKE, ACTION_NITRO, ACTION_CAMERA,
    ACTION_PAUSE, ACTION_FRAME_RATE, ACTION_COUNT
};

enum BindingKind {
    BIND_NONE,
    BIND_KEY,        // code: a virtual-key code 1..255
    BIND_PAD_BUTTON, // code: a pad button (platform/sys_pad.h)
    BIND_PAD_PLUS,   // code: a pad axis, pushed towards + (right, down, a trigger pulled)
    BIND_PAD_MINUS,  // code: a stick axis, pushed towards - (left, up)
};

struct Binding {
    int kind = BIND_NONE;
    int code = 0;
    bool operator==(const Binding &) const = default;
};

// Slot 0 holds the action's key, slots 1 and 2 its pad inputs; any slot may be empty.
constexpr int kKeySlot = 0;
constexpr int kBindingSlots = 3;
struct ControlBindings {
    Binding slot[ACTION_COUNT][kBindingSlots];
    bool operator==(const ControlBindings &) const = default;
};

constexpr size_t kControlsFileSize = size_t(3 + ACTION_COUNT * kBindingSlots * 2 + 1) * 4;

// Whether a binding may stand in a slot: a key in the key slot, pad inputs in the others, every
// code in range, and no trigger pushed below rest.
bool validBinding(const Binding &b, int slot);

// Decodes a file image into *out. False (and *out untouched) unless it is exactly one file of
// this layout with a matching hash and every binding valid.
bool parseControls(const unsigned char *bytes, size_t size, ControlBindings *out);
void encodeControls(const ControlBindings &in, unsigned char out[kControlsFileSize]);

// Reads and decodes a file; false (and *out untouched) when it is missing or damaged.
bool readControlsFile(const char *path, ControlBindings *out);
