#pragma once
// The modal dialog shared by the colour effects and the transforms: the
// frame ("ORIGINAL") beside a live preview ("MODIFIED"), the command's own
// parameter widgets, "Apply to all frames in the sprite", "OK" and "Cancel".
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "imaging/image.h"
#include "maker/graphics/pixel_rules.h"
#include "toolkit/events.h"

// A label, a slider and a number field that move together; the slider runs
// over minimum + offset .. maximum + offset.
struct NumberRow {
  int slider = -1, field = -1;
  int minimum = 0, maximum = 0, offset = 0;
  int field_value() const;   // the field's number, held to the limits
  int slider_value() const;  // slider position - offset, held to the limits
};
// The row at y: label at (10, y + 5), slider at (120, y), field at (630, y).
NumberRow number_row(const char* name, int y, int minimum, int maximum, int start, int offset,
                     int slider_width = 500);
// Keeps the pair in step after an event of either; true when a value changed.
// A number above the maximum is replaced at once; one below the minimum is
// left as typed while more digits could bring it into range, and settled
// when the field loses the focus.
bool follow_number_row(const NumberRow& row, const tk::Event& e);
// Replaces a number below the minimum by the minimum.
void settle_number_row(const NumberRow& row);

struct EffectDialog;
// What a command adds to the dialog.
struct EffectKind {
  const char* title;
  bool reads_buffers;  // a pixel rule over the channel buffers, else drawing of the frame
  void (*build)(EffectDialog&);  // the parameter widgets; nullptr for none
  bool (*handle)(EffectDialog&, const tk::Event&);  // true when a new preview is needed
  // The result for one frame; the buffers already hold it when reads_buffers.
  imaging::Image (*result)(EffectDialog&, const imaging::Image& frame, bool preview);
};

struct EffectDialog {
  int w = 0, h = 0;  // the working size, from the frame given
  int window = -1, left = -1, right = -1;  // left and right preview canvases
  effects::Channels buffers;
  std::vector<NumberRow> rows;
  std::vector<int> boxes;  // further parameter widgets, in creation order
  imaging::Colour picked = 0;  // "Erase a color"
  int swatch = -1;
  std::vector<uint8_t> noise;  // "Noise": w * h, one byte a pixel
  std::minstd_rand random;
};

struct Frame;
// Gives the frame the picture under a newly allocated image number and frees
// its old one; a malformed picture leaves the frame as it was.
void give_frame_picture(Frame& frame, imaging::Image&& picture);

// Runs the dialog for the frame at frame_index of g_frames; "OK" rebuilds
// that frame, or every frame of the sprite, into new images. Nothing is
// shown for an index outside g_frames or a frame without a picture. Result 0.
int run_effect_dialog(const EffectKind& kind, int parent, const std::string& sprite_name, int frame_index);
