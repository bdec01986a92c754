#pragma once
#include <optional>
#include <vector>

#include "imaging/image.h"

// Thumbnails of sprites and backgrounds: a 150 x 100 card (picture 91) with
// the resource's picture fitted into its 60 x 60 picture area at (45, 20).

// A new thumbnail image of the image `source`; a source that names no
// image gives the bare card. Returns the new image's number.
int make_thumbnail(int source);

// Renews the thumbnail of every sprite (the "no image" card 92 for a sprite
// without a first-frame picture) and of every background with an image
// file (read from the working folder), and points every object with a
// sprite at its sprite's first frame. Old thumbnails are freed. Returns 0.
int build_resource_thumbnails();

// The thumbnail of `picture`, the bare card for nullptr, not yet in the
// image table: any thread may make one.
imaging::Image thumbnail_of(const imaging::Image* picture);

// The same, with the thumbnails of some backgrounds made already from their
// decoded files (by index in g_backgrounds); the files of the others are read.
int build_resource_thumbnails(std::vector<std::optional<imaging::Image>> made);
