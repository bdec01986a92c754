#pragma once
// The 100 x 100 preview of the object dialog and the scene editor.
#include "imaging/image.h"

// The image scaled to fit 100 x 100 at the top-left of a transparent
// 100 x 100 picture, shown in the image view; a missing image leaves it
// transparent.
void set_preview_thumbnail(int image_view, int image);
imaging::Image preview_picture(int image);
