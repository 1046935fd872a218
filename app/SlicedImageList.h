// SlicedImageList.h: image lists of the Access Panel made from one bitmap
// resource of pictures side by side on magenta.
#pragma once

#include "framework/ImageList.h"

// Creates the list (cx by cy, 32-bit colour with a mask) and adds count slices
// cx pixels wide, from the left, of bitmap nIDBitmap; magenta is transparent.
// Each slice is copied into a 32-bit bitmap as high as the resource bitmap, so
// that the list keeps the pictures' colours whatever the screen's depth.
// False, with the list as far as it got, when the bitmap cannot be loaded.
BOOL CreateSlicedImageList(CImageList& imageList, UINT nIDBitmap, int cx, int cy, int count);
