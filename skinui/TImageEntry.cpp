#include "skinui/TImageEntry.h"

namespace SkinUI {

TImageEntry::~TImageEntry()
{
    if (bitmap != nullptr) cairo_surface_destroy(bitmap);
}

}  // namespace SkinUI
